// Another program on a database file: it opens the file, says "ready" on standard output and
// keeps the file open until its standard input closes.
//   verdell-test-holder FILE open     an open connection, doing nothing
//   verdell-test-holder FILE saving   a change begun and not yet committed
//   verdell-test-holder FILE spilled  a change begun that is so large that part of it is
//                                     written into the file already (the journal is hot once
//                                     the program is killed)
//   verdell-test-holder FILE writing  saving new jobs one after another, each taking its number
//                                     from the counter, until its input closes
#include <sqlite3.h>

#include <poll.h>
#include <unistd.h>
#include <cstdio>
#include <cstring>

namespace {

const char* statementsFor(const char* mode) {
    if (std::strcmp(mode, "saving") == 0) {
        return "BEGIN; UPDATE Counters SET JobCounter = JobCounter;";
    }
    if (std::strcmp(mode, "spilled") == 0) {
        return "PRAGMA cache_size = 10; BEGIN; "
               "UPDATE Jobs SET WorkDetails = WorkDetails || hex(randomblob(300)); "
               "UPDATE Counters SET JobCounter = JobCounter + 1000;";
    }
    return "SELECT count(*) FROM Jobs;";
}

bool inputClosed(int waitMs) {
    pollfd in{STDIN_FILENO, POLLIN, 0};
    if (::poll(&in, 1, waitMs) <= 0) {
        return false;
    }
    char c;
    return ::read(STDIN_FILENO, &c, 1) <= 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FILE open|saving|spilled|writing\n", argv[0]);
        return 2;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, statementsFor(argv[2]), nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", argv[1], sqlite3_errmsg(db));
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    if (std::strcmp(argv[2], "writing") == 0) {
        sqlite3_busy_timeout(db, 5000);
        do {
            if (sqlite3_exec(db,
                             "BEGIN IMMEDIATE; "
                             "INSERT INTO Jobs (JobNo, WorkName) SELECT JobCounter, 'Writer' "
                             "FROM Counters; "
                             "UPDATE Counters SET JobCounter = JobCounter + 1; COMMIT;",
                             nullptr, nullptr, nullptr) != SQLITE_OK) {
                sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            }
        } while (!inputClosed(0));
    } else {
        while (!inputClosed(-1)) {
        }
    }
    sqlite3_close(db);
    return 0;
}
