#include "documents/TemplatesTab.h"

#include "documents/MergeEngine.h"
#include "documents/TemplateTools.h"
#include "platform/Prompter.h"
#include "records/AppState.h"
#include "records/Options.h"
#include "widgets/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* note(const QString& text, QWidget* parent, bool heading = false) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    if (heading) {
        label->setStyleSheet(QStringLiteral("font-weight: bold; color: #1f3a5f;"));
    }
    return label;
}

const QString kChooseFirst = QStringLiteral(
    "Please click 'Get Available Templates' first\r\nthen select your template from the list");

}  // namespace

TemplatesTab::TemplatesTab(AppState& app, QWidget* parent) : QWidget(parent), app_(app) {
    setObjectName(QStringLiteral("TemplatesTab"));
    comDocType = new QComboBox(this);
    comDocType->setObjectName(QStringLiteral("comDocType"));
    comDocType->setMinimumWidth(260);
    cmdPopLetters = makeButton(this, "cmdPopLetters", QStringLiteral("Get Available Templates"));
    cmdEditJobSheet = makeButton(this, "cmdEditJobSheet", QStringLiteral("Edit Document Template"),
                             QStringLiteral("Click here to make changes to the Job Sheet"));
    cmdValidateMSWord =
        makeButton(this, "cmdValidateMSWord", QStringLiteral("Validate MS Word Installation"));
    cmdSetDefault = makeButton(this, "cmdSetDefault", QStringLiteral("Set Default Template"),
                           QStringLiteral("Click here to set the currently selected template as "
                                          "the default template"));
    cmdPreProcess = makeButton(this, "cmdPreProcess", QStringLiteral("Pre-Process Template"),
                           QStringLiteral("Click here to pre-process the selected template for "
                                          "faster automation"));
    cmdSetEstimateTemplate =
        makeButton(this, "cmdSetEstimateTemplate", QStringLiteral("Set Estimate Template"),
               QStringLiteral("Click here to print estimates with the currently selected "
                              "template"));
    chkBackgroundPrinting = new QCheckBox(QStringLiteral("Background Printing"), this);
    chkBackgroundPrinting->setObjectName(QStringLiteral("chkBackgroundPrinting"));
    chkBackgroundPrinting->setToolTip(QStringLiteral(
        "Checking this box enable Verdell to carry on (slowly) while printing documents"));
    chkJustPrint = new QCheckBox(QStringLiteral("Just Print."), this);
    chkJustPrint->setObjectName(QStringLiteral("chkJustPrint"));
    chkJustPrint->setToolTip(QStringLiteral(
        "Checking this box will make your job sheet simply print rather than showing MS Word"));

    auto* available = new QGroupBox(QStringLiteral("Templates available to Verdell"), this);
    auto* availableLayout = new QGridLayout(available);
    availableLayout->addWidget(cmdPopLetters, 0, 0);
    availableLayout->addWidget(comDocType, 0, 1, 1, 2);
    availableLayout->addWidget(cmdSetDefault, 1, 0);
    availableLayout->addWidget(cmdSetEstimateTemplate, 1, 1);
    availableLayout->setColumnStretch(2, 1);

    auto* modifying = new QGroupBox(QStringLiteral("Modifying a Job Sheet or other Template"), this);
    auto* modifyingLayout = new QVBoxLayout(modifying);
    modifyingLayout->addWidget(note(
        QStringLiteral("To change a template, click Get Available Templates, select the template "
                       "in the list and click Edit Document Template. Save it in the same "
                       "format when you are done."),
        modifying));
    modifyingLayout->addWidget(cmdEditJobSheet, 0, Qt::AlignLeft);

    auto* problems = new QGroupBox(QStringLiteral("If you are experiencing problems merging with "
                                                  "MS Word, Follow steps 1, 2 and 3 below."),
                                   this);
    auto* problemsLayout = new QVBoxLayout(problems);
    for (const char* step : {"(1) Click Get available Templates",
                             "(2) Select a template from the pull down list.",
                             "(3) Click Validate MS Word Installation"}) {
        problemsLayout->addWidget(note(QString::fromLatin1(step), problems));
    }
    problemsLayout->addWidget(note(
        QStringLiteral("If MS Word is installed correctly and is compatible with Verdell it will "
                       "start up and display the selected template."),
        problems));
    problemsLayout->addWidget(cmdValidateMSWord, 0, Qt::AlignLeft);

    auto* speed = new QGroupBox(QStringLiteral("Speeding up Job Sheet Printing"), this);
    auto* speedLayout = new QVBoxLayout(speed);
    speedLayout->addWidget(note(
        QStringLiteral("Pre-Process looks through the template selected in the list above for "
                       "the merge fields it uses, so that documents are made from it faster. "
                       "Run Pre-Process again after every change to a template."),
        speed));
    auto* options = new QHBoxLayout;
    options->addWidget(cmdPreProcess);
    options->addSpacing(20);
    options->addWidget(chkBackgroundPrinting);
    options->addWidget(chkJustPrint);
    options->addStretch();
    speedLayout->addLayout(options);

    auto* layout = new QVBoxLayout(this);
    for (QWidget* group : {static_cast<QWidget*>(available), static_cast<QWidget*>(modifying),
                           static_cast<QWidget*>(problems), static_cast<QWidget*>(speed)}) {
        layout->addWidget(group);
    }
    layout->addStretch();

    connect(cmdPopLetters, &QPushButton::clicked, this, &TemplatesTab::cmdPopLetters_Click);
    connect(cmdEditJobSheet, &QPushButton::clicked, this, &TemplatesTab::cmdEditJobSheet_Click);
    connect(cmdValidateMSWord, &QPushButton::clicked, this,
            &TemplatesTab::cmdValidateMSWord_Click);
    connect(cmdSetDefault, &QPushButton::clicked, this, &TemplatesTab::cmdSetDefault_Click);
    connect(cmdPreProcess, &QPushButton::clicked, this, &TemplatesTab::cmdPreProcess_Click);
    connect(cmdSetEstimateTemplate, &QPushButton::clicked, this,
            &TemplatesTab::cmdSetEstimateTemplate_Click);
    connect(chkBackgroundPrinting, &QCheckBox::clicked, this,
            &TemplatesTab::chkBackgroundPrinting_Click);
    connect(chkJustPrint, &QCheckBox::clicked, this, &TemplatesTab::chkJustPrint_Click);
    showOptions();
}

void TemplatesTab::showOptions() {
    chkBackgroundPrinting->setChecked(app_.BackgroundPrinting);
    chkJustPrint->setChecked(app_.JustPrint);
}

QString TemplatesTab::chosenTemplate(const QString& missingPrompt) {
    const QString name = comDocType->currentText().trimmed();
    if (name.isEmpty()) {
        app_.prompter.message(missingPrompt, QStringLiteral("No Template Selected"),
                              Prompter::Buttons::Ok, Prompter::Icon::Information);
    }
    return name;
}

void TemplatesTab::cmdPopLetters_Click() {
    app_.TemplateFolder = app_.AppSettings.GetValue(QStringLiteral("TemplatePath"));
    comDocType->clear();
    comDocType->addItems(availableTemplates(templatesFolder(app_)));
    if (comDocType->count() > 0) {
        comDocType->setCurrentIndex(0);
    }
}

void TemplatesTab::cmdEditJobSheet_Click() {
    const QString name = chosenTemplate(kChooseFirst);
    if (!name.isEmpty()) {
        EditTemplate(app_, name);
    }
}

void TemplatesTab::cmdValidateMSWord_Click() {
    if (comDocType->currentText().isEmpty()) {
        app_.prompter.message(QStringLiteral("You need to select a template type first"));
        comDocType->setFocus();
        return;
    }
    OpenDocumentFromTemplate(app_, comDocType->currentText());
}

void TemplatesTab::cmdSetDefault_Click() {
    const QString name = chosenTemplate(kChooseFirst);
    if (!name.isEmpty()) {
        SetDefaultTemplate(app_, name);
    }
}

void TemplatesTab::cmdPreProcess_Click() {
    const QString name = chosenTemplate(
        QStringLiteral("You first need to select an available template from the list above"));
    if (!name.isEmpty()) {
        PreProcessTemplate(app_, templatesFolder(app_) + u'/' + comDocType->currentText());
    }
}

void TemplatesTab::cmdSetEstimateTemplate_Click() {
    const QString name = chosenTemplate(kChooseFirst);
    if (name.isEmpty()) {
        return;
    }
    if (app_.AppSettings.SetValue(QStringLiteral("EstimateDoc"), name) != 0) {
        app_.prompter.message(QStringLiteral("The estimate template could not be stored in the "
                                             "settings."),
                              QStringLiteral("Estimate Template Not Set"), Prompter::Buttons::Ok,
                              Prompter::Icon::Critical);
        return;
    }
    app_.prompter.message(QStringLiteral("Estimates will now be printed with ") + name,
                          QStringLiteral("Estimate Template is ") + name, Prompter::Buttons::Ok,
                          Prompter::Icon::Information);
}

void TemplatesTab::storeOptions() {
    app_.BackgroundPrinting = chkBackgroundPrinting->isChecked();
    app_.JustPrint = chkJustPrint->isChecked();
    if (!SaveOptions(app_)) {
        app_.prompter.message(QStringLiteral("The options could not be saved.\r\n") +
                                  app_.DbConnection.lastError().message,
                              QStringLiteral("Options Not Saved"), Prompter::Buttons::Ok,
                              Prompter::Icon::Critical);
    }
}

void TemplatesTab::chkBackgroundPrinting_Click() { storeOptions(); }

void TemplatesTab::chkJustPrint_Click() { storeOptions(); }
