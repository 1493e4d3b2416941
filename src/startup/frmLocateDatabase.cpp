#include "startup/frmLocateDatabase.h"

#include "platform/DriveRoots.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "records/AppState.h"
#include "records/Connection.h"
#include "records/SharedRoutines.h"
#include "widgets/CentreForm.h"

#include <QApplication>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmLocateDatabase::frmLocateDatabase(AppState& app, QWidget* parent)
    : QDialog(parent), app_(app) {
    setObjectName(QStringLiteral("frmLocateDatabase"));
    setWindowTitle(QStringLiteral("Verdell Database Locator"));

    fraDatabase = new QGroupBox(QStringLiteral("Database Details"), this);
    fraDatabase->setObjectName(QStringLiteral("fraDatabase"));
    txtDBPath = new QLineEdit(fraDatabase);
    txtDBPath->setObjectName(QStringLiteral("txtDBPath"));
    txtDBName = new QLineEdit(fraDatabase);
    txtDBName->setObjectName(QStringLiteral("txtDBName"));
    txtDBPath->setMinimumWidth(380);
    auto* form = new QFormLayout(fraDatabase);
    form->addRow(QStringLiteral("Database Path:"), txtDBPath);
    form->addRow(QStringLiteral("Database Name:"), txtDBName);

    cmdLocate = new QPushButton(QStringLiteral("Manually Locate Database"), this);
    cmdLocate->setObjectName(QStringLiteral("cmdLocate"));
    cmdAutoFind = new QPushButton(QStringLiteral("Automatically Locate Database"), this);
    cmdAutoFind->setObjectName(QStringLiteral("cmdAutoFind"));
    cmdAutoFind->setDefault(true);
    connect(cmdLocate, &QPushButton::clicked, this, &frmLocateDatabase::cmdLocate_Click);
    connect(cmdAutoFind, &QPushButton::clicked, this, &frmLocateDatabase::cmdAutoFind_Click);

    auto* hint = new QLabel(
        QStringLiteral("Verdell cannot open its database. Let it search the usual places, or "
                       "choose the database file yourself."),
        this);
    hint->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdAutoFind);
    buttons->addWidget(cmdLocate);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(fraDatabase);
    layout->addLayout(buttons);
}

void frmLocateDatabase::Form_Load() {
    setWindowTitle(QStringLiteral("Verdell Database Locator"));
    CentreForm(this, app_.screen);
    QApplication::processEvents();
    TReg& settings = app_.AppSettings;

    txtDBName->setText(settings.GetValue(QStringLiteral("dataname")));
    if (txtDBName->text().trimmed().isEmpty()) {
        app_.prompter.message(QStringLiteral("Unable to locate the name of the database in the "
                                             "registry\r\n\r\nDefaulting to verdell.mdb"));
        txtDBName->setText(QStringLiteral("verdell.mdb"));
        settings.SetValue(QStringLiteral("dataname"), txtDBName->text());
    }
    QString folder = settings.GetValue(QStringLiteral("DataPath"));
    if (folder.trimmed().isEmpty()) {
        app_.prompter.message(QStringLiteral("Unable to locate the database via the registry"
                                             "\r\n\r\nDefaulting to the installating path"));
        folder = QStringLiteral("\\Program Files\\Verdell");
        settings.SetValue(QStringLiteral("datapath"), folder);
    }
    // The folder as this computer writes it; the setting keeps its own form.
    txtDBPath->setText(QDir::toNativeSeparators(paths::toHost(folder, app_.roots)));
    DoesFileExist(app_, paths::join(txtDBPath->text(), txtDBName->text()), true, false);
}

void frmLocateDatabase::cmdAutoFind_Click() {
    for (const DatabaseCandidate& candidate : databaseCandidates()) {
        if (!DoesFileExist(app_, paths::join(candidate.folder, candidate.file), false, false)) {
            continue;
        }
        SetDBReg(app_, candidate.folder, candidate.file);
        if (OpenDatabase(app_)) {
            app_.prompter.message(
                QStringLiteral("Verdell has recovered a compatible database, please make sure "
                               "the data looks correct before entering new data as it may be an "
                               "older version"));
            accept();
        }
        return;
    }
}

void frmLocateDatabase::cmdLocate_Click() {
    const QString file = app_.prompter.openFile(
        QStringLiteral("Locate the Verdell database"), app_.roots.home(),
        QStringLiteral("Verdell databases (*.mdb *.cvn);;All files (*)"));
    if (file.isEmpty()) {
        return;
    }
    txtDBName->setText(FileNameOf(file));
    txtDBPath->setText(FolderOf(file));
    app_.AppSettings.SetValue(QStringLiteral("dataname"), txtDBName->text());
    app_.AppSettings.SetValue(QStringLiteral("datapath"), txtDBPath->text());
    if (OpenDatabase(app_)) {
        accept();
    }
}
