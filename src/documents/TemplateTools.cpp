#include "documents/TemplateTools.h"

#include "documents/LegacyTemplate.h"
#include "documents/MergeEngine.h"
#include "documents/MergeTokens.h"
#include "documents/TextRoutines.h"
#include "documents/WordDocument.h"
#include "platform/Launcher.h"
#include "platform/Prompter.h"
#include "startup/AppState.h"
#include "startup/SharedRoutines.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

void reportFailure(AppState& app, const QString& routine, const OfficeError& error) {
    app.prompter.message(routine + QStringLiteral(" \r\n") + QString::number(error.number) +
                         QStringLiteral("\r\n") + error.description);
}

// Opens a word-processor template, converting an old binary one first.
bool openTemplate(AppState& app, const QString& path, WordDocument& doc, LegacyTemplate& legacy) {
    QString usable = path;
    if (GetFileExtension(path).toUpper() == QLatin1String("DOT")) {
        if (!legacy.convert(path)) {
            if (legacy.error().number == 429) {
                app.prompter.message(
                    QStringLiteral("MS Word has been detected, however the may be a problem with "
                                   "the installation\r\nPlease check your Word installation is "
                                   "not corrupt\r\nIf this error continues please re-install MS "
                                   "Word"),
                    QStringLiteral("Unable To Communicate With MS Word"), Prompter::Buttons::Ok,
                    Prompter::Icon::Critical);
            } else {
                reportFailure(app, QStringLiteral("PreProcessTemplate"), legacy.error());
            }
            return false;
        }
        usable = legacy.convertedPath();
    }
    if (!doc.open(usable)) {
        reportFailure(app, QStringLiteral("PreProcessTemplate"), doc.error());
        return false;
    }
    return true;
}

}  // namespace

QStringList availableTemplates(const QString& folder) {
    QStringList out;
    for (const char* pattern : {"*.dot", "*.dotx", "*.xlt", "*.xltx"}) {
        for (const QString& name : ListFiles(folder, QString::fromLatin1(pattern))) {
            if (!name.startsWith(u'~')) {
                out << name;
            }
        }
    }
    return out;
}

bool SetDefaultTemplate(AppState& app, const QString& sFileName) {
    Database& db = app.DbConnection;
    Transaction tx(db);
    const bool ok =
        tx.active() &&
        db.exec(QStringLiteral("UPDATE Templates SET PrimaryDoc = 0 WHERE PrimaryDoc <> 0")) &&
        db.exec(QStringLiteral("UPDATE Templates SET PrimaryDoc = 1 WHERE DummyId = "
                               "(SELECT min(DummyId) FROM Templates WHERE FileName = ?)"),
                {sFileName}) &&
        (db.rowsAffected() > 0 ||
         db.exec(QStringLiteral("INSERT INTO Templates (FileName, PrimaryDoc) VALUES (?, 1)"),
                 {sFileName})) &&
        tx.commit();
    if (!ok) {
        app.prompter.message(QStringLiteral("The default template could not be set.\r\n") +
                                 db.lastError().message,
                             QStringLiteral("Default Template Not Set"), Prompter::Buttons::Ok,
                             Prompter::Icon::Critical);
        return false;
    }
    app.prompter.message(QStringLiteral("The default template has been set to ") + sFileName,
                         QStringLiteral("Default Template is ") + sFileName,
                         Prompter::Buttons::Ok, Prompter::Icon::Information);
    return true;
}

std::optional<QStringList> PreProcessTemplate(AppState& app, const QString& path) {
    const QString ext = GetFileExtension(path).toUpper();
    if (ext == QLatin1String("XLT") || ext == QLatin1String("XLTX") ||
        ext == QLatin1String("XLTM")) {
        app.prompter.message(QStringLiteral("Only MS Word Templates need Pre-Processing"));
        return std::nullopt;
    }
    WordDocument doc;
    LegacyTemplate legacy;
    if (!openTemplate(app, path, doc, legacy)) {
        return std::nullopt;
    }
    QStringList found;
    for (int story = 0; story < doc.storyCount(); ++story) {
        for (const QString& token : tokens::scanOrder()) {
            if (!found.contains(token) && doc.contains(story, token)) {
                found << token;
            }
        }
    }
    QStringList inOrder;
    for (const QString& token : tokens::scanOrder()) {
        if (found.contains(token)) {
            inOrder << token;
        }
    }
    const QString name = FileNameOf(path);
    Database& db = app.DbConnection;
    Transaction tx(db);
    bool ok = tx.active() &&
              db.exec(QStringLiteral("DELETE FROM TemplateFields WHERE Id = ?"), {name});
    for (const QString& token : inOrder) {
        ok = ok && db.exec(QStringLiteral("INSERT INTO TemplateFields (Id, FieldName) VALUES (?, ?)"),
                           {name, token});
    }
    if (!ok || !tx.commit()) {
        reportFailure(app, QStringLiteral("PreProcessTemplate"),
                      {75, db.lastError().message});
        return std::nullopt;
    }
    app.prompter.message(
        QStringLiteral("The template has been pre-processed. printing should now run faster"),
        QStringLiteral("Pre-Process Completed"), Prompter::Buttons::Ok,
        Prompter::Icon::Information);
    return inOrder;
}

void EditTemplate(AppState& app, const QString& sTemplateName) {
    app.launcher.editTemplate(templatesFolder(app) + u'/' + sTemplateName);
}

bool OpenDocumentFromTemplate(AppState& app, const QString& sTemplateName) {
    const QString path = templatesFolder(app) + u'/' + sTemplateName;
    WordDocument doc;
    LegacyTemplate legacy;
    if (!openTemplate(app, path, doc, legacy)) {
        return false;
    }
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::TempLocation) + QStringLiteral("/verdell");
    QDir().mkpath(folder);
    const QString scratch = folder + u'/' + QFileInfo(sTemplateName).completeBaseName() +
                            QStringLiteral(".docx");
    if (!doc.saveAs(scratch) || !app.launcher.open(scratch)) {
        cannotReachWordProcessor(app);
        return false;
    }
    return true;
}
