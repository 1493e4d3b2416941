#include "startup/SqliteFunctions.h"

#include <QString>
#include <sqlite3.h>

#include <cstring>

namespace {

unsigned char asciiLower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

QString folded(const char* text, int length) {
    return QString::fromUtf8(text, length).toCaseFolded();
}

// NOCASE for every letter. ASCII bytes are compared directly; from the first byte that is not
// ASCII the rest of both texts is compared after Unicode case folding, which gives the same
// order as folding the whole of both texts.
int compareNoCase(void*, int lengthA, const void* a, int lengthB, const void* b) {
    const auto* pa = static_cast<const unsigned char*>(a);
    const auto* pb = static_cast<const unsigned char*>(b);
    const int common = lengthA < lengthB ? lengthA : lengthB;
    int i = 0;
    for (; i < common; ++i) {
        if ((pa[i] | pb[i]) & 0x80) {
            break;
        }
        const unsigned char ca = asciiLower(pa[i]);
        const unsigned char cb = asciiLower(pb[i]);
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    if (i == common) {
        // One text is the other's beginning; folding never empties what follows.
        return lengthA == lengthB ? 0 : (lengthA < lengthB ? -1 : 1);
    }
    // Everything before i is ASCII, so both tails begin on a whole character.
    const QString ta = folded(reinterpret_cast<const char*>(pa) + i, lengthA - i);
    const QString tb = folded(reinterpret_cast<const char*>(pb) + i, lengthB - i);
    const int r = QStringView(ta).compare(QStringView(tb));
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

// LIKE over case-folded text: % any run, _ any one character, the escape character makes the
// next character literal.
template <typename Char>
bool likeMatch(const Char* p, const Char* pEnd, const Char* t, const Char* tEnd, Char escape,
               bool hasEscape) {
    const Char* starP = nullptr;
    const Char* starT = nullptr;
    while (t < tEnd) {
        if (p < pEnd) {
            Char pc = *p;
            if (hasEscape && pc == escape && p + 1 < pEnd) {
                if (p[1] == *t) {
                    p += 2;
                    ++t;
                    continue;
                }
            } else if (pc == Char('%')) {
                starP = ++p;
                starT = t;
                continue;
            } else if (pc == Char('_') || pc == *t) {
                ++p;
                ++t;
                continue;
            }
        }
        if (!starP) {
            return false;
        }
        p = starP;
        t = ++starT;
    }
    while (p < pEnd && *p == Char('%')) {
        ++p;
    }
    return p == pEnd;
}

bool isAscii(const unsigned char* s, int n) {
    for (int i = 0; i < n; ++i) {
        if (s[i] & 0x80) {
            return false;
        }
    }
    return true;
}

void ulike(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* pattern = sqlite3_value_text(argv[0]);
    const int patternLength = sqlite3_value_bytes(argv[0]);
    const auto* text = sqlite3_value_text(argv[1]);
    const int textLength = sqlite3_value_bytes(argv[1]);
    QChar escape;
    bool hasEscape = false;
    if (argc == 3 && sqlite3_value_type(argv[2]) != SQLITE_NULL) {
        const QString e = QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_value_text(argv[2])), sqlite3_value_bytes(argv[2]));
        if (e.size() != 1) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e[0];
        hasEscape = true;
    }
    bool matched;
    if (isAscii(pattern, patternLength) && isAscii(text, textLength) &&
        (!hasEscape || escape.unicode() < 0x80)) {
        std::string p(reinterpret_cast<const char*>(pattern), size_t(patternLength));
        std::string t(reinterpret_cast<const char*>(text), size_t(textLength));
        for (auto& c : p) c = char(asciiLower(static_cast<unsigned char>(c)));
        for (auto& c : t) c = char(asciiLower(static_cast<unsigned char>(c)));
        const char e = char(asciiLower(static_cast<unsigned char>(escape.toLatin1())));
        matched = likeMatch(p.data(), p.data() + p.size(), t.data(), t.data() + t.size(), e,
                            hasEscape);
    } else {
        const QString p = folded(reinterpret_cast<const char*>(pattern), patternLength);
        const QString t = folded(reinterpret_cast<const char*>(text), textLength);
        const QString foldedEscape = QString(escape).toCaseFolded();
        const QChar e = foldedEscape.isEmpty() ? escape : foldedEscape[0];
        matched = likeMatch(p.constData(), p.constData() + p.size(), t.constData(),
                            t.constData() + t.size(), e, hasEscape);
    }
    sqlite3_result_int(context, matched ? 1 : 0);
}

}  // namespace

int installTextFunctions(sqlite3* db) {
    int rc = sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, nullptr, compareNoCase);
    if (rc != SQLITE_OK) {
        return rc;
    }
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    rc = sqlite3_create_function(db, "ulike", 2, flags, nullptr, ulike, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        return rc;
    }
    return sqlite3_create_function(db, "ulike", 3, flags, nullptr, ulike, nullptr, nullptr);
}
