// Another program on a database file: it opens the file, says "ready" on standard output and
// keeps the file open until its standard input closes.
//   verdell-test-holder FILE open     an open connection, doing nothing
//   verdell-test-holder FILE saving   a change begun and not yet committed
#include <sqlite3.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FILE open|saving\n", argv[0]);
        return 2;
    }
    sqlite3* db = nullptr;
    const char* sql = std::strcmp(argv[2], "saving") == 0
                          ? "BEGIN; UPDATE Counters SET JobCounter = JobCounter;"
                          : "SELECT count(*) FROM Jobs;";
    if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", argv[1], sqlite3_errmsg(db));
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    sqlite3_close(db);
    return 0;
}
