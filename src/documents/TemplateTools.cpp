#include "documents/TemplateTools.h"

#include "db/RowValues.h"
#include "db/TextKeys.h"
#include "documents/LegacyTemplate.h"
#include "documents/MergeEngine.h"
#include "documents/MergeTokens.h"
#include "documents/TextRoutines.h"
#include "documents/WordDocument.h"
#include "platform/Launcher.h"
#include "platform/Prompter.h"
#include "records/AppState.h"
#include "records/SharedRoutines.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <functional>

namespace {

using Report = std::function<void(const OfficeError&)>;

// Opens a word-processor template, converting an old binary one first; `report` tells the user
// why it cannot be.
bool openTemplate(AppState& app, const QString& path, WordDocument& doc, LegacyTemplate& legacy,
                  const Report& report) {
    QString usable;
    if (!openableTemplate(app, path, legacy, &usable, report)) {
        return false;
    }
    if (!doc.open(usable)) {
        report(doc.error());
        return false;
    }
    return true;
}

// Checking the word processor with a template: a step that fails is told as a fault of the
// installation, and the check goes on.
void reportInstallationFault(AppState& app, const OfficeError& error) {
    app.prompter.message(QStringLiteral("Error ") + QString::number(error.number) +
                             QStringLiteral("\r\n") + error.description +
                             QStringLiteral("\r\nPLEASE CHECK WITH MS FOR WORD UPDATES"),
                         QStringLiteral("Word Installation Is Corrupt"), Prompter::Buttons::Ok,
                         Prompter::Icon::Information);
    app.prompter.message(QStringLiteral("The program will attempt to continue"),
                         QStringLiteral("Ignoring Error"), Prompter::Buttons::Ok,
                         Prompter::Icon::Information);
}

bool isSpreadsheet(const QString& name) {
    const QString ext = GetFileExtension(name).toUpper();
    return ext == QLatin1String("XLT") || ext == QLatin1String("XLTX") ||
           ext == QLatin1String("XLTM");
}

}  // namespace

QStringList availableTemplates(const QString& folder) {
    QStringList out;
    for (const auto& patterns : {QStringList{QStringLiteral("*.dot"), QStringLiteral("*.dotx")},
                                 QStringList{QStringLiteral("*.xlt"), QStringLiteral("*.xltx")}}) {
        QStringList group;
        for (const QString& pattern : patterns) {
            for (const QString& name : ListFiles(folder, pattern)) {
                if (!name.startsWith(u'~')) {
                    group << name;
                }
            }
        }
        std::sort(group.begin(), group.end(), [](const QString& a, const QString& b) {
            const int order = a.compare(b, Qt::CaseInsensitive);
            return order != 0 ? order < 0 : a < b;
        });
        out << group;
    }
    return out;
}

bool SetDefaultTemplate(AppState& app, const QString& sFileName) {
    Database& db = app.DbConnection;
    const textkeys::Condition named = textkeys::equals(QStringLiteral("FileName"), sFileName);
    RowValues added(db.dialect(), QStringLiteral("Templates"));
    added.set(QStringLiteral("FileName"), sFileName).set(QStringLiteral("PrimaryDoc"), 1);
    Transaction tx(db);
    const bool ok =
        tx.active() &&
        db.exec(QStringLiteral("UPDATE Templates SET PrimaryDoc = 0 WHERE PrimaryDoc <> 0")) &&
        db.exec(QStringLiteral("UPDATE Templates SET PrimaryDoc = 1 WHERE DummyId = "
                               "(SELECT min(DummyId) FROM Templates WHERE ") +
                    named.sql + u')',
                {named.value}) &&
        (db.rowsAffected() > 0 || db.exec(added.insert(), added.values())) &&
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
    if (isSpreadsheet(path)) {
        app.prompter.message(QStringLiteral("Only MS Word Templates need Pre-Processing"));
        return std::nullopt;
    }
    const QString routine = QStringLiteral("PreProcessTemplate");
    WordDocument doc;
    LegacyTemplate legacy;
    if (!openTemplate(app, path, doc, legacy, [&app, &routine](const OfficeError& error) {
            reportDocumentError(app, routine, error);
        })) {
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
    const textkeys::Condition named = textkeys::equals(QStringLiteral("Id"), name);
    Transaction tx(db);
    bool ok = tx.active() &&
              db.exec(QStringLiteral("DELETE FROM TemplateFields WHERE ") + named.sql,
                      {named.value});
    for (const QString& token : inOrder) {
        RowValues row(db.dialect(), QStringLiteral("TemplateFields"));
        row.set(QStringLiteral("Id"), name).set(QStringLiteral("FieldName"), token);
        ok = ok && db.exec(row.insert(), row.values());
    }
    if (!ok || !tx.commit()) {
        reportDocumentError(app, routine, {75, db.lastError().message});
        return std::nullopt;
    }
    app.prompter.message(
        QStringLiteral("The template has been pre-processed. printing should now run faster"),
        QStringLiteral("Pre-Process Completed"), Prompter::Buttons::Ok,
        Prompter::Icon::Information);
    return inOrder;
}

void EditTemplate(AppState& app, const QString& sTemplateName) {
    if (app.launcher.editTemplate(templatesFolder(app) + u'/' + sTemplateName)) {
        return;
    }
    if (isSpreadsheet(sTemplateName)) {
        cannotReachSpreadsheetProgram(app);
    } else {
        cannotReachWordProcessor(app);
    }
}

bool OpenDocumentFromTemplate(AppState& app, const QString& sTemplateName) {
    const QString path = templatesFolder(app) + u'/' + sTemplateName;
    WordDocument doc;
    LegacyTemplate legacy;
    if (!openTemplate(app, path, doc, legacy,
                      [&app](const OfficeError& error) { reportInstallationFault(app, error); })) {
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
