#include "documents/MergeEngine.h"

#include "db/TextKeys.h"
#include "documents/FileWriting.h"
#include "documents/LegacyTemplate.h"
#include "documents/MergeTokens.h"
#include "documents/TextRoutines.h"
#include "documents/WordDocument.h"
#include "documents/Workbook.h"
#include "platform/Clock.h"
#include "platform/DriveRoots.h"
#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "records/AppState.h"
#include "records/DateFormats.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <memory>
#include <optional>

namespace {

constexpr int kChunkSize = 250;

void report(AppState& app, const OfficeError& error) {
    reportDocumentError(app, QStringLiteral("CreateDocument"), error);
}

// Replaces a long text through pieces, each but the last ending with the marker that the next
// piece replaces, so the text is rebuilt in order. Gives whether the token was found.
//
// Each piece would take the place of the marker the one before it brought, so after the first
// every marker ends up holding all the later pieces in order: they are put there together, in
// one pass over the part, so that the time taken grows with the text's length, not its square.
bool replaceLongText(WordDocument& doc, int story, const QString& token, const QString& text) {
    const QStringList pieces = SplitIntoChunks(text, kChunkSize);
    if (pieces.size() < 2) {
        QString whole = StripCarriageReturns(text);
        if (token == QLatin1String("[COMMENTS]") && text.contains(u'\r')) {
            whole = StripLineFeeds(text);
        }
        return doc.replaceAll(story, token, asLines(whole));
    }
    const bool found = doc.replaceAll(story, token, pieces.first());
    QString rest;
    rest.reserve(text.size());
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        rest += i + 1 < pieces.size() ? QStringView(pieces[i]).chopped(ChunkMarker.size())
                                      : QStringView(pieces[i]);
    }
    doc.replaceAll(story, ChunkMarker, rest);
    return found;
}

std::optional<MergedDocument> wordMerge(AppState& app, const QString& templatePath,
                                        const JobFields& job, const QSet<QString>& uses) {
    WordDocument doc;
    if (!doc.open(templatePath)) {
        report(app, doc.error());
        return std::nullopt;
    }
    QSet<QString> found;
    for (int story = 0; story < doc.storyCount(); ++story) {
        if (app.BackgroundPrinting) {
            QCoreApplication::processEvents();
        }
        for (const QString& token : tokens::wordOrder()) {
            if (!uses.contains(token) || found.contains(token)) {
                continue;
            }
            const QString value = tokens::wordValue(token, job);
            const bool longText =
                token == QLatin1String("[COMMENTS]") || token == QLatin1String("[JOBDETAILS]");
            const bool replaced = longText ? replaceLongText(doc, story, token, value)
                                           : doc.replaceAll(story, token, asLines(value));
            if (replaced) {
                found.insert(token);
            }
        }
        doc.lineFeedsToParagraphs(story);
    }
    const QByteArray bytes = doc.saveData();
    if (bytes.isEmpty()) {
        report(app, doc.error());
        return std::nullopt;
    }
    return MergedDocument{false, [bytes](const QString&, OfficeError&) { return bytes; }};
}

// Writes an address one line a row downwards from the cell holding its token.
void spreadAddress(Workbook& book, const QString& token, const QString& address) {
    const auto cell = book.find(token, true);
    if (!cell) {
        return;
    }
    const QChar separator = address.contains(u'\n') ? u'\n' : u'\r';
    const qsizetype lastDollar = cell->lastIndexOf(u'$');
    const QString column = cell->mid(1, lastDollar - 1);
    int row = cell->mid(lastDollar + 1).toInt();
    for (const QString& line : address.split(separator)) {
        if (!line.trimmed().isEmpty()) {
            book.setCellText(QStringLiteral("$%1$%2").arg(column).arg(row), line);
            ++row;
        }
    }
}

// A number as the spreadsheet program reads one typed into a cell: digits, a sign and decimals,
// without leading zeros, so references and telephone numbers stay text.
std::optional<double> typedNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^-?(0|[1-9][0-9]{0,14})(\\.[0-9]+)?$"));
    const QString trimmed = text.trimmed();
    if (!number.match(trimmed).hasMatch()) {
        return std::nullopt;
    }
    return trimmed.toDouble();
}

// Replaces a token in every cell. A cell that holds the token alone takes the value as the
// spreadsheet program's own replace leaves it: a date as a date, a number as a number.
void replaceToken(Workbook& book, const QString& token, const QString& text,
                  const QDate& date = {}) {
    for (const QString& cell : book.cellsHolding(token)) {
        if (date.isValid()) {
            book.setCellDate(cell, date);
        } else if (const auto number = typedNumber(text)) {
            book.setCellNumber(cell, *number);
        } else {
            book.setCellText(cell, text);
        }
    }
    book.replaceAll(token, text);
}

std::optional<MergedDocument> spreadsheetMerge(AppState& app, const QString& templatePath,
                                              const JobFields& job) {
    auto book = std::make_shared<Workbook>();
    if (!book->open(templatePath)) {
        report(app, book->error());
        return std::nullopt;
    }
    const QString clientAddress = StripCarriageReturns(withCrLf(job.CliAddress));
    const QString siteAddress = StripCarriageReturns(withCrLf(job.HomeAddress));
    spreadAddress(*book, QStringLiteral("[ADDRESS]"), clientAddress);
    spreadAddress(*book, QStringLiteral("[SITEADDRESS]"), siteAddress);
    spreadAddress(*book, QStringLiteral("[CUSTADDRESS]"), clientAddress);

    const QDate today = app.clock.today();
    replaceToken(*book, QStringLiteral("[DATE]"), today.toString(QStringLiteral("dd/MM/yyyy")),
                 today);
    const auto created = readDateText(app, job.DateCreated);
    replaceToken(*book, QStringLiteral("[DATECREATED]"), job.DateCreated,
                 created ? created->date() : QDate());
    replaceToken(*book, QStringLiteral("[JOBNO]"), job.JobNo);
    replaceToken(*book, QStringLiteral("[INTROBY]"), job.IntroducedBy);
    replaceToken(*book, QStringLiteral("[JOBDETAILS]"), asLines(job.WorkDetails));
    for (int i = 0; i < 7; ++i) {
        replaceToken(*book, QStringLiteral("[FREE%1]").arg(i + 1), job.Unused[size_t(i)]);
    }
    replaceToken(*book, QStringLiteral("[CUSTREF]"), job.CustRef);
    replaceToken(*book, QStringLiteral("[CUSTNAME]"), job.WorkName);
    return MergedDocument{true, [book](const QString& fileName, OfficeError& error) {
                              const qsizetype dot = fileName.lastIndexOf(u'.');
                              replaceToken(*book, QStringLiteral("[INVOICENO]"),
                                           dot < 0 ? fileName : fileName.left(dot));
                              QByteArray bytes = book->saveData();
                              if (bytes.isEmpty()) {
                                  error = book->error();
                              }
                              return bytes;
                          }};
}

}  // namespace

void reportDocumentError(AppState& app, const QString& routine, const OfficeError& error) {
    app.prompter.message(routine + QStringLiteral(" \r\n") + QString::number(error.number) +
                         QStringLiteral("\r\n") + error.description);
}

bool openableTemplate(AppState& app, const QString& path, LegacyTemplate& legacy, QString* usable,
                      const QString& routine) {
    return openableTemplate(app, path, legacy, usable, [&app, &routine](const OfficeError& error) {
        reportDocumentError(app, routine, error);
    });
}

bool openableTemplate(AppState& app, const QString& path, LegacyTemplate& legacy, QString* usable,
                      const std::function<void(const OfficeError&)>& report) {
    const QString ext = GetFileExtension(path).toUpper();
    if (ext != QLatin1String("DOT") && ext != QLatin1String("XLT")) {
        *usable = path;
        return true;
    }
    if (!legacy.convert(path)) {
        if (legacy.error().number == 429) {
            cannotReachWordProcessor(app);
        } else {
            report(legacy.error());
        }
        return false;
    }
    *usable = legacy.convertedPath();
    return true;
}

void cannotReachWordProcessor(AppState& app) {
    app.prompter.message(
        QStringLiteral("MS Word has been detected, however the may be a problem with the "
                       "installation\r\nPlease check your Word installation is not corrupt\r\n"
                       "If this error continues please re-install MS Word"),
        QStringLiteral("Unable To Communicate With MS Word"), Prompter::Buttons::Ok,
        Prompter::Icon::Critical);
}

void cannotReachSpreadsheetProgram(AppState& app) {
    app.prompter.message(QStringLiteral("Unable to communicate with MS Excel, please check your "
                                        "Excel Installation is not corrupt"),
                         QStringLiteral("Unable To Communicate With Excel"),
                         Prompter::Buttons::OkCancel, Prompter::Icon::Critical);
}

QString documentsFolder(AppState& app) {
    return paths::toHost(app.AppSettings.GetValue(QStringLiteral("DocPath")), app.roots);
}

QString templatesFolder(const AppState& app) {
    return paths::toHost(app.TemplateFolder, app.roots);
}

QSet<QString> templateTokens(AppState& app, const QString& templateName) {
    QSet<QString> uses;
    const textkeys::Condition named = textkeys::equals(QStringLiteral("Id"), templateName.trimmed());
    const auto rows = app.DbConnection.query(
        QStringLiteral("SELECT FieldName FROM TemplateFields WHERE ") + named.sql, {named.value});
    if (rows) {
        for (int i = 0; i < rows->count(); ++i) {
            const QString field = rows->text(i, QStringLiteral("FieldName"));
            if (tokens::all().contains(field)) {
                uses.insert(field);
            }
        }
    }
    if (!rows || rows->isEmpty()) {
        uses = QSet<QString>(tokens::all().begin(), tokens::all().end());
    }
    uses.insert(QStringLiteral("[JOBDETAILS]"));
    return uses;
}

std::optional<MergedDocument> mergeDocument(AppState& app, const QString& templateName,
                                            const JobFields& job) {
    const QString name = templateName.trimmed();
    const QString ext = GetFileExtension(name).toUpper();
    const QString folder = documentsFolder(app);
    if (!QDir().mkpath(folder)) {
        report(app, {75, QStringLiteral("The documents folder %1 cannot be made.").arg(folder)});
        return std::nullopt;
    }
    LegacyTemplate legacy;
    QString templatePath;
    if (!openableTemplate(app, templatesFolder(app) + u'/' + name, legacy, &templatePath,
                          QStringLiteral("CreateDocument"))) {
        return std::nullopt;
    }
    if (ext == QLatin1String("XLT") || ext == QLatin1String("XLTX")) {
        return spreadsheetMerge(app, templatePath, job);
    }
    return wordMerge(app, templatePath, job, templateTokens(app, name));
}

void showNewDocument(AppState& app, const QString& path, bool spreadsheet) {
    if (spreadsheet) {
        if (!app.launcher.open(path)) {
            cannotReachSpreadsheetProgram(app);
        }
    } else if (!(app.JustPrint ? app.launcher.print(path) : app.launcher.open(path))) {
        cannotReachWordProcessor(app);
    }
}

QString CreateDocument(AppState& app, const QString& fileName, const QString& templateName,
                       const JobFields& job) {
    const std::optional<MergedDocument> merged = mergeDocument(app, templateName, job);
    if (!merged) {
        return {};
    }
    const QString target = documentsFolder(app) + u'/' + fileName;
    office::NewFile file;
    OfficeError error;
    const QByteArray bytes = merged->save(fileName, error);
    if (bytes.isEmpty() || !file.write(target, bytes, error) || !file.place(error)) {
        report(app, error);
        return {};
    }
    showNewDocument(app, target, merged->spreadsheet);
    return target;
}
