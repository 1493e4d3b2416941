#include "documents/LegacyTemplate.h"

#include "platform/Launcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

using namespace office_errors;

namespace {

struct Conversion {
    const char* from;
    const char* to;
    const char* filter;
};

// LibreOffice's export filters, by the extension of the old file.
const Conversion Conversions[] = {
    {"dot", "dotx", "MS Word 2007 XML Template"},
    {"doc", "docx", "MS Word 2007 XML"},
    {"xlt", "xltx", "Calc MS Excel 2007 XML Template"},
    {"xls", "xlsx", "Calc MS Excel 2007 XML"},
};

}  // namespace

QStringList officeConversionArguments(const QString& profileFolder, const QString& to,
                                      const QString& outFolder, const QString& input) {
    return {
        QStringLiteral("--headless"),
        QStringLiteral("--norestore"),
        QStringLiteral("--nolockcheck"),
        QStringLiteral("-env:UserInstallation=") +
            QString::fromLatin1(QUrl::fromLocalFile(profileFolder).toEncoded()),
        QStringLiteral("--convert-to"),
        to,
        QStringLiteral("--outdir"),
        outFolder,
        input,
    };
}

struct LegacyTemplate::Impl {
    OfficeError error;
    std::unique_ptr<QTemporaryDir> folder;
    QString converted;
    int timeout = 120000;

    bool fail(int number, const QString& description) {
        error = {number, description};
        return false;
    }
};

LegacyTemplate::LegacyTemplate() : d(std::make_unique<Impl>()) {}
LegacyTemplate::~LegacyTemplate() = default;
LegacyTemplate::LegacyTemplate(LegacyTemplate&&) noexcept = default;
LegacyTemplate& LegacyTemplate::operator=(LegacyTemplate&&) noexcept = default;

QString LegacyTemplate::convertedPath() const {
    return d ? d->converted : QString();
}

const OfficeError& LegacyTemplate::error() const {
    static const OfficeError none;
    return d ? d->error : none;
}

void LegacyTemplate::setTimeout(int milliseconds) {
    if (!d) {
        d = std::make_unique<Impl>();
    }
    d->timeout = milliseconds;
}

bool LegacyTemplate::convert(const QString& path) {
    if (!d) {
        d = std::make_unique<Impl>();
    }
    const int timeout = d->timeout;
    d = std::make_unique<Impl>();
    d->timeout = timeout;

    const QFileInfo info(path);
    const QString name = QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
    if (!info.exists()) {
        return d->fail(FileNotFound, QStringLiteral("The file %1 was not found.").arg(name));
    }
    if (info.isDir()) {
        return d->fail(PathFileAccess, QStringLiteral("%1 is a folder, not a file.").arg(name));
    }
    const QString extension = info.suffix().toLower();
    const Conversion* conversion = nullptr;
    for (const Conversion& c : Conversions) {
        if (extension == QLatin1String(c.from)) {
            conversion = &c;
        }
    }
    if (!conversion) {
        return d->fail(
            InvalidFileFormat,
            QStringLiteral("The file %1 is not an old Word or Excel template.").arg(name));
    }
    const QString office = officeProgram();
    if (office.isEmpty()) {
        return d->fail(CannotCreateObject,
                       QStringLiteral("LibreOffice is not installed, so the old template %1 cannot "
                                      "be read. Install LibreOffice, or save the template in the "
                                      "newer format (%2).")
                           .arg(name, QLatin1String(conversion->to)));
    }

    d->folder = std::make_unique<QTemporaryDir>();
    if (!d->folder->isValid()) {
        return d->fail(PathFileAccess,
                       QStringLiteral("No temporary folder could be made to convert %1: %2.")
                           .arg(name, d->folder->errorString()));
    }
    // LibreOffice works on a copy under a plain name: it leaves nothing beside the user's file,
    // and the converted file's name is known.
    const QDir folder(d->folder->path());
    folder.mkdir(QStringLiteral("in"));
    folder.mkdir(QStringLiteral("out"));
    const QString input = folder.filePath(QStringLiteral("in/template.") + extension);
    if (!QFile::copy(path, input)) {
        return d->fail(info.isReadable() ? PathFileAccess : PermissionDenied,
                       QStringLiteral("The file %1 cannot be read.").arg(name));
    }
    const QString output =
        folder.filePath(QStringLiteral("out/template.") + QLatin1String(conversion->to));
    const QStringList arguments = officeConversionArguments(
        folder.filePath(QStringLiteral("profile")),
        QLatin1String(conversion->to) + u':' + QLatin1String(conversion->filter),
        folder.filePath(QStringLiteral("out")), input);
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(office, arguments);
    if (!process.waitForStarted(30000)) {
        return d->fail(CannotCreateObject,
                       QStringLiteral("LibreOffice could not be started to read the old template "
                                      "%1: %2.")
                           .arg(name, process.errorString()));
    }
    if (!process.waitForFinished(d->timeout)) {
        process.kill();
        process.waitForFinished(5000);
        return d->fail(
            CannotCreateObject,
            QStringLiteral("LibreOffice did not finish converting the old template %1.").arg(name));
    }
    if (!QFileInfo(output).isFile() || QFileInfo(output).size() == 0) {
        const QString said = QString::fromLocal8Bit(process.readAll()).trimmed();
        return d->fail(InvalidFileFormat,
                       QStringLiteral("LibreOffice could not convert %1; it may not be a Word or "
                                      "Excel file.%2")
                           .arg(name, said.isEmpty() ? QString() : u' ' + said.right(300)));
    }
    d->converted = output;
    return true;
}
