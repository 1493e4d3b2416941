#include "mainwindow/frmMain.h"

#include "addressbook/frmAddressBook.h"
#include "common/Numbers.h"
#include "estimates/frmEstimate.h"
#include "jobs/frmJobs.h"
#include "mainwindow/HoverButton.h"
#include "mainwindow/frmSplash.h"
#include "platform/Prompter.h"
#include "platform/ScreenMetrics.h"
#include "records/AppState.h"
#include "records/RunDatabase.h"
#include "records/SharedRoutines.h"
#include "reports/InvoicingReports.h"
#include "reports/ShowReport.h"
#include "reports/frmJobReport.h"
#include "reports/frmReports.h"
#include "setup/BackupScreens.h"
#include "setup/frmListEditor.h"
#include "setup/frmSetup.h"
#include "widgets/CentreForm.h"
#include "widgets/Controls.h"
#include "widgets/KeyActions.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QStyle>
#include <QSvgRenderer>
#include <algorithm>

namespace {

const QString kProductName = QStringLiteral("Verdell Standard");

// The artwork behind the buttons, scaled to the window.
class Backdrop : public QWidget {
public:
    explicit Backdrop(QWidget* parent)
        : QWidget(parent), art_(QStringLiteral(":/artwork/background.svg"), this) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), QColor(0x1f, 0x3a, 0x5f));
        art_.render(&p, QRectF(rect()));
    }

private:
    QSvgRenderer art_;
};

struct Twips {
    int left, top, width, height;
};
// Where the buttons and the version label stand, in twips.
constexpr Twips kVersion{4300, 100, 0, 0};
constexpr Twips kEstimates{915, 2100, 3900, 1000};
constexpr Twips kJobs{915, 3300, 3970, 1000};
constexpr Twips kReports{915, 4600, 4000, 1000};
constexpr Twips kExit{870, 5800, 2985, 1000};

QAction* namedAction(QObject* parent, const char* name, const QString& caption) {
    auto* action = new QAction(caption, parent);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QMenu* namedMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

}  // namespace

frmMain::frmMain(AppState& app, QWidget* parent) : QMainWindow(parent), app_(app) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(QIcon(QStringLiteral(":/artwork/logo.svg")));
    buildMenus();
    buildPicture();
    labPleaseWait->setVisible(!app_.StartupComplete);
}

void frmMain::buildMenus() {
    QMenuBar* bar = menuBar();
    mnuFile = namedMenu(bar, "File", QStringLiteral("&File"));
    FileBackup = namedAction(this, "FileBackup", QStringLiteral("&Backup"));
    FileRestore = namedAction(this, "FileRestore", QStringLiteral("&Restore"));
    FileExit = namedAction(this, "FileExit", QStringLiteral("E&xit"));
    mnuFile->addAction(FileBackup);
    mnuFile->addAction(FileRestore);
    mnuFile->addSeparator()->setObjectName(QStringLiteral("Spacer1"));
    mnuFile->addAction(FileExit);
    connect(FileExit, &QAction::triggered, this, &frmMain::FileExit_Click);
    connect(FileBackup, &QAction::triggered, this, [this] { BackupWithDialog(app_); });
    connect(FileRestore, &QAction::triggered, this, &frmMain::FileRestore_Click);

    mnuEdit = namedMenu(bar, "Edit", QStringLiteral("&Edit"));
    EditCut = namedAction(this, "EditCut", QStringLiteral("Cut"));
    EditCopy = namedAction(this, "EditCopy", QStringLiteral("Copy"));
    EditPaste = namedAction(this, "EditPaste", QStringLiteral("Paste"));
    EditCut->setShortcut(QKeySequence::Cut);
    EditCopy->setShortcut(QKeySequence::Copy);
    EditPaste->setShortcut(QKeySequence::Paste);
    mnuEdit->addActions({EditCut, EditCopy, EditPaste});
    connect(EditCut, &QAction::triggered, this, [this] { editAction("cut"); });
    connect(EditCopy, &QAction::triggered, this, [this] { editAction("copy"); });
    connect(EditPaste, &QAction::triggered, this, [this] { editAction("paste"); });

    mnuOptions = namedMenu(bar, "Options", QStringLiteral("&Options"));
    OptionsJobStatus = namedAction(this, "OptionsJobStatus", QStringLiteral("Job Status"));
    OptionsDocType = namedAction(this, "OptionsDocType", QStringLiteral("Document Types"));
    OptionsIntroducedBy = namedAction(this, "OptionsIntroducedBy", QStringLiteral("&Engineers"));
    ProgramClientCompanies =
        namedAction(this, "ProgramClientCompanies", QStringLiteral("Client / Companies"));
    mnuOptions->addActions(
        {OptionsJobStatus, OptionsDocType, OptionsIntroducedBy, ProgramClientCompanies});
    connect(OptionsJobStatus, &QAction::triggered, this,
            [this] { showListEditor<frmJobStatus>(); });
    connect(OptionsDocType, &QAction::triggered, this, [this] { showListEditor<frmDocType>(); });
    connect(OptionsIntroducedBy, &QAction::triggered, this,
            [this] { showListEditor<frmIntroducedBy>(); });
    connect(ProgramClientCompanies, &QAction::triggered, this,
            &frmMain::ProgramClientCompanies_Click);
    // The entry carries the user's own name for the field, which the job screen may change.
    connect(mnuOptions, &QMenu::aboutToShow, this,
            [this] { OptionsIntroducedBy->setText(app_.FieldCaptions[Caption::IntroducedBy]); });

    Jobs = namedAction(this, "Jobs", QStringLiteral("&Jobs"));
    bar->addAction(Jobs);
    connect(Jobs, &QAction::triggered, this, &frmMain::Jobs_Click);

    mnuReports = namedMenu(bar, "Reports", QStringLiteral("&Reports"));
    UnderDevelopment = namedAction(this, "UnderDevelopment", QStringLiteral("Job Report"));
    ReportMorketing = namedAction(this, "ReportMorketing", QStringLiteral("Marketing Report"));
    ReportAwaitingInvoicing =
        namedAction(this, "ReportAwaitingInvoicing", QStringLiteral("Awaiting Invoicing"));
    ReportAwaitingPayment =
        namedAction(this, "ReportAwaitingPayment", QStringLiteral("Awaiting Payment"));
    mnuReports->addActions(
        {UnderDevelopment, ReportMorketing, ReportAwaitingInvoicing, ReportAwaitingPayment});
    connect(UnderDevelopment, &QAction::triggered, this, &frmMain::UnderDevelopment_Click);
    connect(ReportMorketing, &QAction::triggered, this, &frmMain::ReportMorketing_Click);
    connect(ReportAwaitingInvoicing, &QAction::triggered, this,
            &frmMain::DoAwaitingInvoicingReport);
    connect(ReportAwaitingPayment, &QAction::triggered, this, &frmMain::DoAwaitPaymentReport);

    Setup = namedAction(this, "Setup", QStringLiteral("&Setup"));
    bar->addAction(Setup);
    connect(Setup, &QAction::triggered, this, &frmMain::Setup_Click);

    mnuHelp = namedMenu(bar, "Help", QStringLiteral("&Help"));
    HelpAbout = namedAction(this, "HelpAbout", QStringLiteral("&About"));
    MailMerge = namedAction(this, "MailMerge", QStringLiteral("Creating Templates"));
    mnuHelp->addActions({HelpAbout, MailMerge});
    connect(HelpAbout, &QAction::triggered, this, &frmMain::HelpAbout_Click);
    connect(MailMerge, &QAction::triggered, this, &frmMain::MailMerge_Click);
}

void frmMain::buildPicture() {
    Image1 = new Backdrop(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    setCentralWidget(Image1);

    Image2 = new QLabel(Image1);
    Image2->setObjectName(QStringLiteral("Image2"));

    Picture1 = new QLabel(Image1);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->installEventFilter(this);

    labVersion =
        new QLabel(QStringLiteral("Verdell Standard  \u00B7  Version " VERDELL_VERSION), Image1);
    labVersion->setObjectName(QStringLiteral("labVersion"));
    labVersion->setMouseTracking(true);
    labVersion->installEventFilter(this);

    Label1 = new QLabel(Image1);
    Label1->setObjectName(QStringLiteral("Label1"));

    labPleaseWait =
        new QLabel(QStringLiteral("Please wait while the software is initialised"), Image1);
    labPleaseWait->setObjectName(QStringLiteral("labPleaseWait"));
    QFont heavy(QStringLiteral("Arial Black"));
    heavy.setWeight(QFont::Black);
    labPleaseWait->setFont(heavy);
    labPleaseWait->setStyleSheet(QStringLiteral("color:#f2a541;"));
    labPleaseWait->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto button = [this](const char* name, const char* icon, const QString& caption,
                         void (frmMain::*handler)()) {
        auto* b = new HoverButton(QStringLiteral(":/artwork/%1.svg").arg(QLatin1String(icon)),
                                  caption, Image1);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &HoverButton::clicked, this, handler);
        pressOnEnter(b);
        return b;
    };
    htEstimates = button("htEstimates", "estimates", QStringLiteral("Estimates"),
                         &frmMain::htEstimates_Click);
    HoverTool1 = button("HoverTool1", "jobs", QStringLiteral("Jobs"), &frmMain::HoverTool1_Click);
    HoverTool3 =
        button("HoverTool3", "reports", QStringLiteral("Reports"), &frmMain::HoverTool3_Click);
    HoverTool2 = button("HoverTool2", "exit", QStringLiteral("Exit"), &frmMain::HoverTool2_Click);
    // Tab goes down the buttons as they stand.
    setTabOrder(htEstimates, HoverTool1);
    setTabOrder(HoverTool1, HoverTool3);
    setTabOrder(HoverTool3, HoverTool2);

    // Layout tuning boxes: hidden, outside the picture.
    for (size_t i = 0; i < tuning.size(); ++i) {
        tuning[i] = new QLineEdit(Image1);
        tuning[i]->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        tuning[i]->hide();
        tuning[i]->installEventFilter(this);
    }
    layoutPicture();
}

int frmMain::scaled(qreal pixels) const {
    return qRound(pixels * scale_);
}

void frmMain::place(QWidget* control, int left, int top, int width, int height) {
    const ScreenMetrics& s = app_.screen;
    control->move(scaled(s.toPixelsX(left)), scaled(s.toPixelsY(top)));
    if (width >= 0 && height >= 0) {
        control->resize(scaled(s.toPixelsX(width)), scaled(s.toPixelsY(height)));
    }
}

void frmMain::layoutPicture() {
    auto at = [this](int left, int top, int width, int height) {
        return QRect(scaled(left), scaled(top), scaled(width), scaled(height));
    };
    Image2->setGeometry(at(318, 34, 56, 56));
    Image2->setPixmap(QIcon(QStringLiteral(":/artwork/logo.svg")).pixmap(Image2->size()));
    Picture1->setText(
        QStringLiteral("<div style='color:#ffffff; font-size:%1pt; font-weight:800;'>Verdell</div>"
                       "<div style='color:#c9d8ea; font-size:%2pt;'>Jobs, estimates and "
                       "documents for your business</div>")
            .arg(34 * scale_)
            .arg(10 * scale_));
    Picture1->setGeometry(at(386, 26, 400, 90));
    labVersion->setStyleSheet(QStringLiteral("color:#9fb3c8; font-size:%1pt;").arg(8 * scale_));
    labVersion->adjustSize();
    QFont heavy = labPleaseWait->font();
    heavy.setPointSizeF(13 * scale_);
    labPleaseWait->setFont(heavy);
    labPleaseWait->setGeometry(at(330, 500, 450, 30));
    // The positions are kept in twips, so at any screen density they convert to the same
    // place in the picture.
    place(Label1, 18345, 100, 1200, 300);
    place(labVersion, kVersion.left, kVersion.top);
    for (auto [control, where] : {std::pair{htEstimates, kEstimates}, std::pair{HoverTool1, kJobs},
                                  std::pair{HoverTool3, kReports}, std::pair{HoverTool2, kExit}}) {
        place(control, where.left, where.top, where.width, where.height);
    }
}

void frmMain::Form_Load() {
    OptionsIntroducedBy->setText(app_.FieldCaptions[Caption::IntroducedBy]);
    const QSize screen = app_.screen.sizeInPixels();
    scale_ = 1.0;
    if (screen.width() == 800) {
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        // Where less than 800 x 600 is left to windows (a small screen, or a large one scaled
        // up), the whole picture is scaled down to fit, keeping its proportions. The window's
        // frame is known once it is shown; until then a title bar is allowed for.
        const QRect area = app_.screen.availableArea();
        QSize frame = frameGeometry().size() - size();
        if (frame.isEmpty()) {
            frame = QSize(0, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this));
        }
        scale_ = std::min({1.0, qreal(area.width() - frame.width()) / 800,
                           qreal(area.height() - frame.height()) / 600});
        resize(scaled(800), scaled(600));
        CentreForm(this, app_.screen);
    }
    showTitle();
    layoutPicture();
    const int tx = app_.screen.twipsPerPixelX();
    const int ty = app_.screen.twipsPerPixelY();
    const QRect g = HoverTool2->geometry();
    tuning[0]->setText(QString::number(qRound(g.left() / scale_) * tx));
    tuning[1]->setText(QString::number(qRound(g.top() / scale_) * ty));
    tuning[2]->setText(QString::number(qRound(g.width() / scale_) * tx));
    tuning[3]->setText(QString::number(qRound(g.height() / scale_) * ty));
}

bool frmMain::connectionOpen() {
    if (app_.DbConnection.isOpen()) {
        return true;
    }
    app_.prompter.message(QStringLiteral("There is no database connection"),
                          QStringLiteral("No Current Database Connection"), Prompter::Buttons::Ok,
                          Prompter::Icon::Critical);
    return false;
}

void frmMain::HoverTool1_Click() {
    if (!connectionOpen()) {
        return;
    }
    Jobs_Click();
}

void frmMain::Jobs_Click() {
    showJobScreen(app_);
}

void frmMain::htEstimates_Click() {
    // Opens whatever the connection: the screen meets a closed one itself.
    showScreen(app_, QStringLiteral("frmEstimate"), [this]() -> QWidget* {
        auto* estimates = new frmEstimate(app_);
        estimates->Form_Load();
        return estimates;
    });
}

void frmMain::HoverTool3_Click() {
    if (!connectionOpen()) {
        return;
    }
    showScreen(app_, QStringLiteral("frmReports"), [this]() -> QWidget* {
        auto* reports = new frmReports(app_);
        reports->Form_Load();
        return reports;
    });
}

void frmMain::UnderDevelopment_Click() {
    showScreen(app_, QStringLiteral("frmJobReport"), [this]() -> QWidget* {
        auto* report = new frmJobReport(app_);
        report->Form_Load();
        return report;
    });
}

void frmMain::ReportMorketing_Click() {
    showMarketingScreen(app_);
}

void frmMain::DoAwaitingInvoicingReport() {
    ShowReport(app_, awaitingInvoicingReport());
}

void frmMain::DoAwaitPaymentReport() {
    ShowReport(app_, awaitingPaymentReport());
}

void frmMain::HoverTool2_Click() {
    if (QObject* reports = app_.openScreen(QStringLiteral("frmReports"))) {
        if (auto* window = qobject_cast<QWidget*>(reports)) {
            window->close();
        }
    }
    close();
}

void frmMain::FileExit_Click() {
    close();
}

void frmMain::showTitle() {
    QString title = kProductName + QStringLiteral(" [Main]");
    if (const QString file = databaseForThisRun(app_); !file.isEmpty()) {
        title += QStringLiteral(" - ") + file + QStringLiteral(" (this run only)");
    }
    setWindowTitle(title);
}

void frmMain::Setup_Click() {
    frmSetup setup(app_, this);
    setup.Form_Load();
    setup.exec();
    // The setup screen can make the database of this run the default.
    showTitle();
}

void frmMain::ProgramClientCompanies_Click() {
    // Opens whatever the connection: the screen meets a closed one itself.
    frmAddressBook addressBook(app_, this);
    addressBook.exec();
}

template <typename Editor>
void frmMain::showListEditor() {
    Editor editor(app_, this);
    editor.Form_Load();
    editor.exec();
}

void frmMain::FileRestore_Click() {
    RestoreWithDialog(app_);
}

void frmMain::HelpAbout_Click() {
    frmSplash about(this);
    about.exec();
}

void frmMain::MailMerge_Click() {
    OpenHelpPage(app_);
}

void frmMain::startupFinished() {
    labPleaseWait->hide();
}

void frmMain::Picture1_Click() {
    auto twips = [this](size_t i) { return int(numbers::leadingNumber(tuning[i]->text())); };
    place(HoverTool2, twips(0), twips(1), twips(2), twips(3));
}

void frmMain::editAction(const char* slot) {
    QWidget* focus = QApplication::focusWidget();
    if (focus &&
        focus->metaObject()->indexOfMethod(QByteArray(QByteArray(slot) + "()").constData()) >= 0) {
        QMetaObject::invokeMethod(focus, slot);
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Picture1 && event->type() == QEvent::MouseButtonPress) {
        Picture1_Click();
    } else if (watched == labVersion && event->type() == QEvent::MouseMove) {
        const QPoint at = labVersion->pos();
        Label1->setText(QStringLiteral("%1,%2")
                            .arg(at.x() * app_.screen.twipsPerPixelX())
                            .arg(at.y() * app_.screen.twipsPerPixelY()));
    } else if (event->type() == QEvent::KeyPress &&
               std::find(tuning.begin(), tuning.end(), watched) != tuning.end()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Picture1_Click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
