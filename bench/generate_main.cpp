// verdell-bench-data: makes a database file full of generated, realistic rows for the
// benchmarks.
//
//   verdell-bench-data FILE [--jobs N] [--customers N] [--clients N] [--engineers N]
//                           [--estimates N] [--seed S] [--until yyyy-MM-dd]

#include "DataGenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QTextStream>

namespace {

int failWith(const QString& message) {
    QTextStream(stderr) << "verdell-bench-data: " << message << Qt::endl;
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("verdell-bench-data"));

    benchdata::DataSize size;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Makes a Verdell database holding a generated register."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The database file to make; it must not exist."));
    struct Count {
        const char* name;
        int* value;
    };
    const Count counts[] = {{"jobs", &size.jobs},
                            {"customers", &size.customers},
                            {"clients", &size.clients},
                            {"engineers", &size.engineers},
                            {"estimates", &size.estimates}};
    for (const Count& c : counts) {
        parser.addOption({QString::fromLatin1(c.name),
                          QStringLiteral("How many %1 (default %2).")
                              .arg(QLatin1String(c.name))
                              .arg(*c.value),
                          QStringLiteral("N")});
    }
    parser.addOption({QStringLiteral("seed"), QStringLiteral("The random seed (default 1)."),
                      QStringLiteral("S")});
    parser.addOption({QStringLiteral("until"),
                      QStringLiteral("The last day of the six years of data (default today)."),
                      QStringLiteral("yyyy-MM-dd")});

    if (!parser.parse(QCoreApplication::arguments())) {
        return failWith(parser.errorText());
    }
    if (parser.isSet(QStringLiteral("help"))) {
        parser.showHelp(0);
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        return failWith(QStringLiteral("name exactly one database FILE (see --help)."));
    }
    for (const Count& c : counts) {
        const QString name = QString::fromLatin1(c.name);
        if (!parser.isSet(name)) {
            continue;
        }
        bool ok = false;
        const int n = parser.value(name).toInt(&ok);
        if (!ok || n < 0) {
            return failWith(QStringLiteral("--%1 needs a whole number of 0 or more, not \"%2\".")
                                .arg(name, parser.value(name)));
        }
        *c.value = n;
    }
    quint32 seed = 1;
    if (parser.isSet(QStringLiteral("seed"))) {
        bool ok = false;
        seed = parser.value(QStringLiteral("seed")).toUInt(&ok);
        if (!ok) {
            return failWith(QStringLiteral("--seed needs a whole number, not \"%1\".")
                                .arg(parser.value(QStringLiteral("seed"))));
        }
    }
    QDate until = QDate::currentDate();
    if (parser.isSet(QStringLiteral("until"))) {
        until = QDate::fromString(parser.value(QStringLiteral("until")), Qt::ISODate);
        if (!until.isValid()) {
            return failWith(QStringLiteral("--until needs a date as yyyy-MM-dd, not \"%1\".")
                                .arg(parser.value(QStringLiteral("until"))));
        }
    }

    QElapsedTimer timer;
    timer.start();
    benchdata::RowCounts rows;
    const QString failure = benchdata::createFile(files.first(), size, seed, until, &rows);
    if (!failure.isEmpty()) {
        return failWith(QString(failure).replace(u'\n', u' ').replace(u'\r', u' '));
    }
    const qint64 elapsed = timer.elapsed();

    QTextStream out(stdout);
    out << files.first() << Qt::endl;
    const struct {
        const char* table;
        qint64 count;
    } written[] = {{"clients", rows.clients},
                   {"customers", rows.customers},
                   {"engineers", rows.engineers},
                   {"Jobs", rows.jobs},
                   {"Docs", rows.docs},
                   {"Estimate (lines)", rows.estimateLines},
                   {"Estimate (numbers)", rows.estimates},
                   {"EstimateDocs", rows.estimateDocs},
                   {"Stock", rows.stock}};
    for (const auto& w : written) {
        out << QStringLiteral("  %1 %2")
                   .arg(QLatin1String(w.table), -20)
                   .arg(w.count)
            << Qt::endl;
    }
    out << QStringLiteral("  last job number      %1").arg(rows.lastJobNo) << Qt::endl;
    out << QStringLiteral("  text indexes built in %1 s").arg(rows.textIndexSeconds, 0, 'f', 2)
        << Qt::endl;
    out << QStringLiteral("  seed %1, data up to %2, made in %3 s")
               .arg(seed)
               .arg(until.toString(Qt::ISODate))
               .arg(double(elapsed) / 1000.0, 0, 'f', 2)
        << Qt::endl;
    return 0;
}
