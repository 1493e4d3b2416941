#include "documents/MailAttachment.h"

#include "documents/LegacyTemplate.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <unistd.h>

namespace mail {

QString newMailFolder() {
    // One folder per user: the temporary folder is shared by everyone on the computer.
    const QString root = QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
                             .filePath(QStringLiteral("verdell-mail-%1").arg(getuid()));
    if (!QDir().mkpath(root) || QFileInfo(root).ownerId() != getuid()) {
        return {};
    }
    const QDateTime now = QDateTime::currentDateTime();
    for (const QFileInfo& old : QDir(root).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (old.lastModified().secsTo(now) > 24 * 3600) {
            QDir(old.filePath()).removeRecursively();
        }
    }
    QTemporaryDir made(root + u'/' + now.toString(QStringLiteral("yyyyMMdd-hhmmss")) +
                       QStringLiteral("-XXXXXX"));
    if (!made.isValid()) {
        return {};
    }
    made.setAutoRemove(false);
    return made.path();
}

QString attachmentName(const QString& title) {
    QString name = title.trimmed();
    for (const char* suffix :
         {".dotx", ".dot", ".docx", ".doc", ".xltx", ".xlt", ".xlsx", ".xls", ".odt", ".ods"}) {
        if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive)) {
            name.chop(qsizetype(qstrlen(suffix)));
            break;
        }
    }
    QString out;
    for (const QChar c : name) {
        out += c.category() == QChar::Other_Control || QStringLiteral("/\\:*?\"<>|").contains(c)
                   ? u'_'
                   : c;
    }
    out = out.simplified().left(100);
    while (out.endsWith(u'.') || out.endsWith(u' ')) {
        out.chop(1);
    }
    return out.isEmpty() || out.startsWith(u'.') ? QStringLiteral("document") : out;
}

PdfConversion::PdfConversion(QString officeProgram, QObject* parent)
    : QObject(parent), office_(std::move(officeProgram)) {}

PdfConversion::~PdfConversion() {
    cancel();
}

void PdfConversion::setTimeout(int milliseconds) {
    timeout_ = milliseconds;
}

bool PdfConversion::start(const QString& document, const QString& folder, const QString& name) {
    pdf_.clear();
    error_.clear();
    work_ = std::make_unique<QTemporaryDir>();
    if (!work_->isValid()) {
        error_ = QStringLiteral("No temporary folder could be made for LibreOffice: %1.")
                     .arg(work_->errorString());
        return false;
    }
    // LibreOffice reads a copy named as the PDF is to be, so it leaves nothing beside the
    // document and names its output as wanted.
    const QDir work(work_->path());
    work.mkdir(QStringLiteral("in"));
    const QString suffix = QFileInfo(document).suffix();
    const QString input = work.filePath(QStringLiteral("in/") + name +
                                        (suffix.isEmpty() ? QString() : u'.' + suffix));
    if (!QFile::copy(document, input)) {
        error_ = QStringLiteral("The document %1 cannot be read.").arg(document);
        return false;
    }
    output_ = QDir(folder).filePath(name + QStringLiteral(".pdf"));

    process_ = new QProcess(this);
    process_->setProcessChannelMode(QProcess::MergedChannels);
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(process_, &QProcess::finished, this, [this] { done({}); });
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) {
            done(QStringLiteral("LibreOffice could not be started (%1).")
                     .arg(process_->errorString()));
        }
    });
    connect(timer_, &QTimer::timeout, this, [this] {
        done(QStringLiteral("LibreOffice did not finish within %1 seconds.")
                 .arg((timeout_ + 999) / 1000));
    });
    process_->start(office_, officeConversionArguments(work.filePath(QStringLiteral("profile")),
                                                       QStringLiteral("pdf"), folder, input));
    timer_->start(timeout_);
    return true;
}

void PdfConversion::cancel() {
    if (!process_) {
        return;
    }
    timer_->stop();
    process_->disconnect(this);
    if (process_->state() != QProcess::NotRunning) {
        process_->kill();
        process_->waitForFinished(2000);
    }
    process_->deleteLater();
    process_ = nullptr;
}

void PdfConversion::done(const QString& failure) {
    const QString said =
        process_ ? QString::fromLocal8Bit(process_->readAll()).trimmed() : QString();
    cancel();
    const QFileInfo output(output_);
    if (!failure.isEmpty()) {
        error_ = failure;
    } else if (!output.isFile() || output.size() == 0) {
        error_ = QStringLiteral("LibreOffice could not make a PDF of the document.") +
                 (said.isEmpty() ? QString() : u' ' + said.right(300));
    } else {
        pdf_ = output_;
    }
    Q_EMIT finished();
}

}  // namespace mail
