// Making documents: a job sheet with every token filled, a 50-page template, and a spreadsheet
// invoice; and, in the same run, LibreOffice's own headless conversion of the job sheet, the
// least any merge through an office program could cost.

#include "BenchApplication.h"
#include "documents/MergeEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

std::unique_ptr<BenchApplication> bench;
double officeMilliseconds = 0;

JobFields sampleJob() {
    JobFields f;
    f.JobNo = QStringLiteral("1042");
    f.JobStatus = QStringLiteral("Awaiting Survey");
    f.IntroducedBy = QStringLiteral("Estate Agent");
    f.ClientRef = QStringLiteral("Dave O'Neill");
    f.WorkName = QStringLiteral("Mrs Zo\u00EB O'Brien");
    f.HomeAddress = QStringLiteral("14 Larkspur Close\nHeadingley\nLeeds\nLS6 2QT");
    f.HomeNumbers = QStringLiteral("0113 496 0421\n07700 900123");
    f.WorkDetails = QStringLiteral("Leaking valve under the kitchen sink.\nReplace valve, check "
                                   "pressure and inspect the boiler flue.");
    f.WorkNotes = QString(600, u'n');
    f.DateCreated = QStringLiteral("12/03/2026");
    f.DateReceived = QStringLiteral("13/03/2026");
    f.DateDue = QStringLiteral("20/03/2026");
    f.DateQuoted = QStringLiteral("15/03/2026");
    f.DateCompleted = QStringLiteral("12/03/2027");
    f.CustRef = QStringLiteral("HE/2026/0412");
    f.Unused = {QStringLiteral("Key with neighbour"), QStringLiteral("Dog"), QString(), QString(),
                QString(), QString(), QStringLiteral("Cash")};
    f.CliName = QStringLiteral("Harbour Estates Ltd");
    f.CliAddress = QStringLiteral("2 The Quay\nLeeds\nLS1 4BT");
    f.CliNumbers = QStringLiteral("0113 496 0001\n07700 900002");
    return f;
}

// Work details of about `bytes` characters of words, on one line or in lines of some 70.
QString longText(qsizetype bytes, bool inLines) {
    static const QString words[] = {QStringLiteral("replace"), QStringLiteral("valve"),
                                    QStringLiteral("under"),   QStringLiteral("the"),
                                    QStringLiteral("kitchen"), QStringLiteral("sink,"),
                                    QStringLiteral("check"),   QStringLiteral("pressure.")};
    QString text;
    text.reserve(bytes + 16);
    qsizetype line = 0;
    for (size_t i = 0; text.size() < bytes; ++i) {
        text += words[i % std::size(words)];
        line += words[i % std::size(words)].size() + 1;
        if (inLines && line > 70) {
            text += u'\n';
            line = 0;
        } else {
            text += u' ';
        }
    }
    return text;
}

void merge(benchmark::State& state, const QString& folder, const QString& templateName,
           const QString& extension, const JobFields& job = sampleJob()) {
    bench->app.TemplateFolder = folder;
    static int n = 0;  // a new document never takes the name of one made before
    for (auto _ : state) {
        const QString name = QString::number(++n) + extension;
        QElapsedTimer timer;
        timer.start();
        const QString made = CreateDocument(bench->app, name, templateName, job);
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        if (made.isEmpty()) {
            state.SkipWithError("the document was not made");
            break;
        }
    }
}

void JobSheet(benchmark::State& state) {
    merge(state, QStringLiteral(VERDELL_TEMPLATES), QStringLiteral("Job Sheet.dotx"),
          QStringLiteral(".doc"));
    if (officeMilliseconds > 0) {
        state.counters["office_ms"] = officeMilliseconds;
    }
}

void FiftyPages(benchmark::State& state) {
    merge(state, QStringLiteral(VERDELL_BENCH_TEMPLATES), QStringLiteral("fifty-pages.dotx"),
          QStringLiteral(".doc"));
}

void Invoice(benchmark::State& state) {
    merge(state, QStringLiteral(VERDELL_TEMPLATES), QStringLiteral("Invoice.xltx"),
          QStringLiteral(".XLSX"));
}

// Work details of 200 KB, 800 KB and 5 MB merged into the job sheet by the long-text rule, on one
// line and in lines.
void LongWorkDetails(benchmark::State& state, bool inLines) {
    JobFields job = sampleJob();
    job.WorkDetails = longText(state.range(0) * 1000, inLines);
    merge(state, QStringLiteral(VERDELL_TEMPLATES), QStringLiteral("Job Sheet.dotx"),
          QStringLiteral(".doc"), job);
}

// LibreOffice converting the job sheet into a document, headless: starting it is part of what
// any merge through an office program pays.
void OfficeConversion(benchmark::State& state) {
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty()) {
        state.SkipWithError("LibreOffice is not installed");
        return;
    }
    QTemporaryDir out;
    std::vector<double> times;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        QProcess soffice;
        soffice.start(office, {QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                               QStringLiteral("docx"), QStringLiteral("--outdir"), out.path(),
                               QStringLiteral(VERDELL_TEMPLATES "/Job Sheet.dotx")});
        soffice.waitForFinished(120000);
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        times.push_back(seconds * 1000);
    }
    std::sort(times.begin(), times.end());
    officeMilliseconds = times.empty() ? 0 : times[times.size() / 2];
}

}  // namespace

BENCHMARK(OfficeConversion)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)
    ->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(JobSheet)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20)
    ->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(FiftyPages)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3)
    ->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(LongWorkDetails, one_line, false)->Arg(200)->Arg(800)->Arg(5000)
    ->ArgName("KB")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)
    ->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(LongWorkDetails, in_lines, true)->Arg(200)->Arg(800)->Arg(5000)
    ->ArgName("KB")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)
    ->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(Invoice)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20)
    ->Repetitions(5)->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    bench = std::make_unique<BenchApplication>();
    if (!bench->openOrSay(false, "bench_documents")) {
        return 1;
    }
    bench->app.AppSettings.SetValue(QStringLiteral("DocPath"),
                                    bench->folder.path() + QStringLiteral("/Docs"));
    benchmark::RunSpecifiedBenchmarks();
    bench.reset();
    return 0;
}
