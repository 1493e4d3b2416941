#include "setup/MaintenanceTab.h"

#include "jobs/JobLists.h"
#include "platform/Prompter.h"
#include "records/AppState.h"
#include "records/Captions.h"
#include "records/Options.h"
#include "setup/OlderImport.h"
#include "setup/ProgressWidgets.h"
#include "setup/TableSource.h"
#include "widgets/Controls.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kUpdateTitle = QStringLiteral("Update Database");

}  // namespace

MaintenanceTab::MaintenanceTab(AppState& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName(QStringLiteral("MaintenanceTab"));
    cmdResetLabels = makeButton(this, "cmdResetLabels", QStringLiteral("Shown Un-Named Labels"));
    Label10 = new QLabel(
        QStringLiteral("Use this button if you have removed the description of a label on the "
                       "Job Screen and can no longer see it to rename it. Every label without a "
                       "description is named \"Unused\", so that you can find it and change it."),
        this);
    Label10->setObjectName(QStringLiteral("Label10"));
    Label10->setWordWrap(true);

    SSFrame4 = new QGroupBox(QStringLiteral("Data Update, *** This should only be used with "
                                            "assistance from Corvane ***"),
                             this);
    SSFrame4->setObjectName(QStringLiteral("SSFrame4"));
    txtOldDataPath = new QLineEdit(SSFrame4);
    txtOldDataPath->setObjectName(QStringLiteral("txtOldDataPath"));
    cmdGetPath = makeButton(SSFrame4, "cmdGetPath", QStringLiteral("..."),
                            QStringLiteral("Find the older database"));
    cmdUpdate = makeButton(SSFrame4, "cmdUpdate", QStringLiteral("Update Database"));
    pbStatus = new QProgressBar(SSFrame4);
    pbStatus->setObjectName(QStringLiteral("pbStatus"));
    pbStatus->setValue(0);
    labStatus = new QLabel(QStringLiteral("Status"), SSFrame4);
    labStatus->setObjectName(QStringLiteral("labStatus"));
    labStatus->setWordWrap(true);
    auto* update = new QGridLayout(SSFrame4);
    update->addWidget(new QLabel(QStringLiteral("Older database:"), SSFrame4), 0, 0);
    update->addWidget(txtOldDataPath, 0, 1);
    update->addWidget(cmdGetPath, 0, 2);
    update->addWidget(cmdUpdate, 1, 0);
    update->addWidget(pbStatus, 1, 1, 1, 2);
    update->addWidget(labStatus, 2, 0, 1, 3);
    update->setColumnStretch(1, 1);

    auto* labels = new QGroupBox(QStringLiteral("Job Screen Labels"), this);
    auto* labelsLayout = new QHBoxLayout(labels);
    labelsLayout->addWidget(cmdResetLabels, 0, Qt::AlignTop);
    labelsLayout->addWidget(Label10, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labels);
    layout->addWidget(SSFrame4);
    layout->addStretch();

    connect(cmdResetLabels, &QPushButton::clicked, this, &MaintenanceTab::cmdResetLabels_Click);
    connect(cmdGetPath, &QPushButton::clicked, this, &MaintenanceTab::cmdGetPath_Click);
    connect(cmdUpdate, &QPushButton::clicked, this, &MaintenanceTab::cmdUpdate_Click);
}

void MaintenanceTab::cmdResetLabels_Click() {
    // The captions as the job screen shows them, as stored now.
    app_.FieldCaptions.load(app_.DbConnection);
    auto texts = app_.FieldCaptions.shownLabels();
    for (QString& text : texts) {
        if (text.trimmed().isEmpty()) {
            text = QStringLiteral("Unused");
        }
    }
    if (!jobs::saveCaptions(app_.DbConnection, texts)) {
        app_.prompter.message(QStringLiteral("The labels could not be saved:\r\n") +
                                  app_.DbConnection.lastError().message,
                              QStringLiteral("Labels Not Saved"), Prompter::Buttons::Ok,
                              Prompter::Icon::Critical);
        return;
    }
    captions::load(app_.DbConnection, app_.FieldCaptions);
    // The job screen takes the new captions when it is next opened.
    if (auto* jobs = qobject_cast<QWidget*>(app_.openScreen(QStringLiteral("frmJobs")))) {
        jobs->close();
    }
    app_.prompter.message(QStringLiteral(
        "All unused labels have now been made visible. Go to the Job Screen and change them to "
        "something more applicable."));
}

void MaintenanceTab::cmdGetPath_Click() {
    const QString file = app_.prompter.openFile(
        QStringLiteral("Older Database"), {},
        QStringLiteral("Verdell (job*.cvn);;Databases (*.cvn *.mdb);;All Files (*)"));
    if (!file.isEmpty()) {
        txtOldDataPath->setText(file);
    }
}

void MaintenanceTab::cmdUpdate_Click() {
    if (app_.prompter.message(QStringLiteral("You should only run this utility once\r\nor you "
                                             "will end up with duplicated work\r\n\r\nAre you "
                                             "sure you want to update your database?"),
                              kUpdateTitle, Prompter::Buttons::YesNoCancel,
                              Prompter::Icon::Exclamation) != Prompter::Answer::Yes) {
        return;
    }
    if (app_.prompter.message(QStringLiteral("Are you sure?"), QStringLiteral("Final Confirmation"),
                              Prompter::Buttons::YesNoCancel,
                              Prompter::Icon::Exclamation) != Prompter::Answer::Yes) {
        return;
    }
    UpdateDatabase();
}

void MaintenanceTab::UpdateDatabase() {
    const QString file = txtOldDataPath->text().trimmed();
    QString error;
    if (!app_.DbConnection.isOpen()) {
        error = QStringLiteral("There is no database connection to update.");
    } else if (QFileInfo(file).absoluteFilePath() ==
               QFileInfo(app_.DbConnection.fileName()).absoluteFilePath()) {
        error = QStringLiteral("The older database is the database in use.");
    }
    std::unique_ptr<TableSource> older;
    if (error.isEmpty()) {
        older = openTableSource(file, &error);
    }
    if (!older) {
        app_.prompter.message(QStringLiteral("The older database cannot be read:\r\n") + error +
                                  QStringLiteral("\r\n\r\nNothing has been changed."),
                              kUpdateTitle, Prompter::Buttons::Ok, Prompter::Icon::Critical);
        return;
    }
    setCursor(Qt::WaitCursor);
    BarProgress progress(labStatus, pbStatus);
    QStringList corrected;
    const auto steps =
        olderimport::UpdateDatabase(app_.DbConnection, *older, progress, &corrected);
    unsetCursor();
    captions::load(app_.DbConnection, app_.FieldCaptions);
    LoadOptions(app_);
    if (olderimport::nothingImported(steps)) {
        labStatus->setText(QStringLiteral("Nothing imported"));
        app_.prompter.message(QStringLiteral("Nothing was imported: ") + file +
                                  QStringLiteral(" holds none of the tables of an earlier Verdell "
                                                 "database in the expected form."),
                              kUpdateTitle, Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return;
    }
    const QStringList passedOver = olderimport::passedOver(steps);
    const QString counters =
        corrected.isEmpty() ? QString()
                            : QStringLiteral("\r\n\r\nCounters corrected to follow the numbers "
                                             "in use:\r\n") +
                                  corrected.join(QStringLiteral("\r\n"));
    if (passedOver.isEmpty()) {
        labStatus->setText(QStringLiteral("Update Complete"));
        app_.prompter.message(QStringLiteral("Update Complete") + counters);
        return;
    }
    labStatus->setText(QStringLiteral("Update Complete, not everything copied:\n") +
                       passedOver.join(u'\n'));
    app_.prompter.message(QStringLiteral("Update Complete\r\n\r\nNot everything could be "
                                         "copied:\r\n") +
                              passedOver.join(QStringLiteral("\r\n")) +
                              QStringLiteral("\r\n\r\nEverything else has been copied. A field "
                                             "whose column the older table lacks is left empty "
                                             "in the copied rows (a counter keeps its value).") +
                              counters,
                          kUpdateTitle, Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
}
