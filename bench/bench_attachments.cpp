// Photos attached to jobs: attaching 50 photos of about 4 MB each through the job screen until
// every thumbnail is shown, and opening a job with 200 photos until the first screenful (12) of
// thumbnails is shown, with the thumbnails already kept and with none kept yet. The photos are
// made once (noisy 3000x2250 JPEGs) and kept in the build folder; the database is a new one.
// Each run also counts the longest time the screen's thread went without answering (stall_ms).

#include "BenchApplication.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "jobs/AttachmentStrip.h"
#include "jobs/frmJobs.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QRandomGenerator>
#include <QThread>
#include <QTimer>

namespace {

std::unique_ptr<BenchApplication> bench;
std::unique_ptr<frmJobs> screen;
QStringList photos;
QString cacheFolder;
qint32 photoJob = 0;
qint32 emptyJob = 0;

double seconds(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e9;
}

QByteArray jpegOf(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", quality);
    return bytes;
}

// A photo-sized JPEG of about 4 MB: soft colour gradients under fine noise, which JPEG cannot
// squeeze much, as in a phone's photo of brickwork.
void makePhoto(const QString& path, int seed) {
    QImage image(3000, 2250, QImage::Format_RGB32);
    QRandomGenerator random{quint32(seed)};
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); x += 4) {
            const quint32 noise = random.generate();
            for (int k = 0; k < 4 && x + k < image.width(); ++k) {
                const int n = int((noise >> (8 * k)) & 0x3f) - 32;
                const int r = (x + k) * 200 / image.width() + n;
                const int g = y * 180 / image.height() + n;
                const int b = 120 + seed * 2 + n;
                line[x + k] =
                    qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
            }
        }
    }
    QByteArray jpeg = jpegOf(image, 94);
    // As a phone camera does, the photo carries a small copy (160 x 120) in its EXIF data:
    // big-endian TIFF data whose IFD1 gives the small JPEG's offset (44) and length.
    const QByteArray small =
        jpegOf(image.scaled(160, 120, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), 85);
    QByteArray tiff = QByteArray::fromHex(
        "4d4d002a00000008"
        "0000"
        "0000000e"
        "0002"
        "02010004000000010000002c"
        "020200040000000100000000"
        "00000000");
    tiff.replace(
        36, 4,
        QByteArray::fromHex(QByteArray::number(qint64(small.size()), 16).rightJustified(8, '0')));
    tiff += small;
    const qsizetype length = 8 + tiff.size();
    const QByteArray exif = QByteArray::fromHex("ffe1") + char(length >> 8) + char(length) +
                            QByteArray("Exif\0\0", 6) + tiff;
    const int at = 4 + (uchar(jpeg[4]) << 8 | uchar(jpeg[5]));  // after the JFIF segment
    jpeg.insert(at, exif);
    QFile file(path + QStringLiteral(".tmp"));
    if (file.open(QIODevice::WriteOnly) && file.write(jpeg) == jpeg.size() && file.flush()) {
        file.close();
        QFile::rename(path + QStringLiteral(".tmp"), path);
    }
}

QStringList makePhotos(int count) {
    const QString folder = QStringLiteral(VERDELL_BENCH_PHOTOS);
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString path = folder + QStringLiteral("/IMG_%1.jpg").arg(1000 + i);
        if (!QFileInfo::exists(path)) {
            makePhoto(path, i);
        }
        paths << path;
    }
    return paths;
}

AttachmentStrip* strip() {
    return screen->findChild<AttachmentStrip*>(QStringLiteral("lstAttachments"));
}

qint32 newJob(const QString& name) {
    JobFields job;
    job.WorkName = name;
    return screen->startJob(job) ? screen->jobNumber() : 0;
}

// The longest time the screen's thread goes without running its events while it lives: the
// longest gap between two ticks of a 5 ms timer, in milliseconds.
class StallWatch {
public:
    explicit StallWatch(double* longestMs) : longestMs_(longestMs) {
        sinceTick_.start();
        QObject::connect(&tick_, &QTimer::timeout, [this] {
            *longestMs_ = std::max(*longestMs_, double(sinceTick_.nsecsElapsed()) / 1e6);
            sinceTick_.restart();
        });
        tick_.start(5);
    }

private:
    double* longestMs_;
    QElapsedTimer sinceTick_;
    QTimer tick_;
};

// Runs the screen's events until the strip has shown `count` thumbnails. False when it took
// more than a minute.
bool waitForThumbnails(int count, double* stallMs) {
    StallWatch watch(stallMs);
    QElapsedTimer overall;
    overall.start();
    while (strip()->thumbnailsShown() < count && overall.elapsed() < 60000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return strip()->thumbnailsShown() >= count;
}

void AttachFiftyPhotos(benchmark::State& state) {
    double stall = 0;
    for (auto _ : state) {
        const qint32 job = newJob(QStringLiteral("Attaching"));
        QElapsedTimer timer;
        timer.start();
        {
            // The attaching itself runs the screen's events while it copies.
            StallWatch watch(&stall);
            screen->attachFiles(photos);
        }
        const bool shown = waitForThumbnails(int(photos.size()), &stall);
        state.SetIterationTime(seconds(timer));
        if (!shown || bench->prompter.count() > 0) {
            state.SkipWithError("the photos were not attached and shown");
            break;
        }
        QDir(bench->app.AppSettings.GetValue(QStringLiteral("DocPath")) +
             QStringLiteral("/Attachments/") + QString::number(job))
            .removeRecursively();
    }
    state.counters["stall_ms"] = stall;
}

void openPhotoJob(benchmark::State& state, bool keptThumbnails) {
    // The thumbnails are made once, so that the warm case finds them all.
    screen->LoadJob(photoJob);
    double stall = 0;
    if (!waitForThumbnails(200, &stall)) {
        state.SkipWithError("the thumbnails were not made");
        return;
    }
    stall = 0;
    for (auto _ : state) {
        screen->LoadJob(emptyJob);
        QThread::msleep(300);  // the thumbnails still being made are done with
        QCoreApplication::processEvents();
        if (!keptThumbnails) {
            QDir(cacheFolder).removeRecursively();
        }
        QElapsedTimer timer;
        timer.start();
        screen->LoadJob(photoJob);
        const bool shown = waitForThumbnails(12, &stall);
        state.SetIterationTime(seconds(timer));
        if (!shown) {
            state.SkipWithError("the first thumbnails were not shown");
            break;
        }
    }
    state.counters["stall_ms"] = stall;
}

void OpenJobWithPhotosKept(benchmark::State& state) {
    openPhotoJob(state, true);
}
void OpenJobWithPhotosNotKept(benchmark::State& state) {
    openPhotoJob(state, false);
}

}  // namespace

BENCHMARK(AttachFiftyPhotos)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(OpenJobWithPhotosKept)
    ->Name("OpenJobWith200Photos/thumbnails_kept")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK(OpenJobWithPhotosNotKept)
    ->Name("OpenJobWith200Photos/no_thumbnails_kept")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    bench = std::make_unique<BenchApplication>();
    const QString root = bench->folder.path();
    qputenv("XDG_CACHE_HOME", QFile::encodeName(root + QStringLiteral("/cache")));
    const QString file = root + QStringLiteral("/verdell.mdb");
    QString error = schema::createDatabaseFile(file);
    if (error.isEmpty() && !bench->openConnection(connection::forFile(file), &error)) {
        error = QStringLiteral("cannot open ") + file;
    }
    if (!error.isEmpty()) {
        fprintf(stderr, "bench_attachments: %s\n", qPrintable(error));
        return 1;
    }
    const QString docs = root + QStringLiteral("/Docs");
    QDir().mkpath(docs);
    bench->app.AppSettings.SetValue(QStringLiteral("DocPath"), docs);
    photos = makePhotos(50);
    screen = std::make_unique<frmJobs>(bench->app);
    screen->Form_Load();
    screen->show();
    cacheFolder = root + QStringLiteral("/cache");
    emptyJob = newJob(QStringLiteral("No photos"));
    photoJob = newJob(QStringLiteral("Two hundred photos"));
    for (int i = 0; i < 4; ++i) {
        screen->attachFiles(photos);
    }
    benchmark::RunSpecifiedBenchmarks();
    screen.reset();
    bench.reset();
    return 0;
}
