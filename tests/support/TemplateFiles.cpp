#include "TemplateFiles.h"

#include "TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace templatefiles {

QString install(TestEnv& env, const QStringList& names, const QString& docs) {
    const QString folder = env.dataFolder() + QStringLiteral("/Templates");
    QDir().mkpath(folder);
    for (const QString& name : names) {
        const QString source =
            name.startsWith(u':') ? name : QStringLiteral(VERDELL_TEST_DATA "/merge/") + name;
        const QString target = folder + u'/' + QFileInfo(name).fileName();
        QFile::remove(target);
        if (!QFile::copy(source, target)) {
            qFatal("cannot copy the template %s", qPrintable(source));
        }
    }
    AppState& app = env.app();
    app.TemplateFolder = folder;
    app.AppSettings.SetValue(QStringLiteral("TemplatePath"), folder);
    app.AppSettings.SetValue(QStringLiteral("DocPath"),
                             docs.isEmpty() ? env.dataFolder() + QStringLiteral("/Docs") : docs);
    return folder;
}

}  // namespace templatefiles
