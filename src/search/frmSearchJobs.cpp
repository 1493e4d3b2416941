#include "search/frmSearchJobs.h"

#include "db/BlockRowsModel.h"
#include "platform/ScreenMetrics.h"
#include "records/AppState.h"
#include "records/DateFormats.h"
#include "search/JobSearch.h"
#include "search/TypingSearch.h"
#include "widgets/CentreForm.h"
#include "widgets/Controls.h"
#include "widgets/CsvExport.h"
#include "widgets/GridColumns.h"
#include "widgets/KeyActions.h"
#include "widgets/ListCompletion.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <limits>

namespace {

// A text of several lines (an address) on one line, its lines joined by ", ".
QString oneLine(const QVariant& value) {
    const QString text = value.toString();
    if (!text.contains(u'\n') && !text.contains(u'\r')) {
        return text;
    }
    QStringList lines;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (!line.isEmpty()) {
            lines << line.toString();
        }
    }
    return lines.join(QStringLiteral(", "));
}

// Rows read at a time: more than a screenful, so the first screen shows from the first read.
constexpr int kBlockRows = 200;

// The jobs a search finds, read from db a block at a time.
BlockRowsModel::Source jobsOn(Database& db, const QString& text, const QString& status) {
    return {[&db, text, status](const QString& order, Qt::SortOrder way, qint64 offset, int limit) {
        return jobsBlock(db, text, status, order, way, offset, limit);
    }};
}

QLabel* labelFor(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

frmSearchJobs::frmSearchJobs(AppState& app, const std::array<QString, 36>& jobCaptions,
                             QWidget* parent)
    : QDialog(parent), app_(app), captions_(jobCaptions) {
    setObjectName(QStringLiteral("frmSearchJobs"));
    setWindowTitle(QStringLiteral("Search Jobs"));

    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setClearButtonEnabled(true);
    cbJobStatus = new QComboBox(this);
    cbJobStatus->setObjectName(QStringLiteral("cbJobStatus"));
    cbOrderBy = new QComboBox(this);
    cbOrderBy->setObjectName(QStringLiteral("cbOrderBy"));
    for (QComboBox* combo : {cbJobStatus, cbOrderBy}) {
        // Editable so that no choice at all can be made; what is typed is not added to the list.
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        completeByPopup(combo);
        combo->setMinimumContentsLength(18);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    cmdSearch = new QPushButton(QStringLiteral("&Search"), this);
    cmdSearch->setObjectName(QStringLiteral("cmdSearch"));
    // Enter in the lists runs the search too; it never loads a job by itself.
    cmdSearch->setDefault(true);
    cmdLoadJob = new QPushButton(QStringLiteral("&Load Job"), this);
    cmdLoadJob->setObjectName(QStringLiteral("cmdLoadJob"));
    cmdExportCsv = csvexport::makeButton(this);
    cmdExportCsv->setEnabled(false);
    labCount = new QLabel(QStringLiteral("Matching Search Results"), this);
    labCount->setObjectName(QStringLiteral("labCount"));

    fgSearch = makeResultsGrid(this, "fgSearch");

    const auto date = [this](const QVariant& value) {
        return formatDisplayDate(app_, datetext::fromStored(value));
    };
    // The search's columns, which its export writes too, after the row's hidden identity.
    QList<RowsModel::Column> columns{
        {QStringLiteral("RecordId"), QStringLiteral("DummyId"), {}, 0}};
    const QList<resultexport::Column> shown = jobSearchColumns(captions_);
    static constexpr int kWidths[] = {1600, 3000, 1600, 1000, 2500, 1200, 1200, 1200, 1200};
    for (qsizetype i = 0; i < shown.size(); ++i) {
        RowsModel::Column column{shown[i].heading, shown[i].field, {}, kWidths[i]};
        if (shown[i].kind == csv::Kind::Date) {
            column.format = date;
        } else if (shown[i].kind == csv::Kind::Text) {
            column.format = oneLine;
        }
        columns << column;
    }
    model_ = new BlockRowsModel(columns, kBlockRows, this);
    fgSearch->setModel(model_);

    connect(cmdSearch, &QPushButton::clicked, this, &frmSearchJobs::cmdSearch_Click);
    typing_ = new TypingSearch(app_, this);
    connect(typing_, &TypingSearch::found, this, &frmSearchJobs::showTyped);
    connect(typing_, &TypingSearch::failed, this, &frmSearchJobs::searchFailed);
    connect(typing_, &TypingSearch::counted, this, [this](qint64 total) {
        model_->setTotal(total);
        showCount();
    });
    // What the user types or picks, not what the screen puts in the boxes, searches.
    connect(txtSearch, &QLineEdit::textEdited, this, &frmSearchJobs::txtSearch_Change);
    for (QComboBox* combo : {cbJobStatus, cbOrderBy}) {
        connect(combo, &QComboBox::activated, this, &frmSearchJobs::txtSearch_Change);
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, &frmSearchJobs::txtSearch_Change);
    }
    connect(model_, &BlockRowsModel::readFailed, this,
            [this] { searchFailed(app_.DbConnection.lastError().message); });
    connect(&app_.changes, &ChangeWatcher::changed, this, &frmSearchJobs::followChanges);
    connect(cmdLoadJob, &QPushButton::clicked, this, &frmSearchJobs::cmdLoadJob_Click);
    connect(fgSearch, &QTableView::doubleClicked, this, &frmSearchJobs::cmdLoadJob_Click);
    connect(cmdExportCsv, &QPushButton::clicked, this, &frmSearchJobs::cmdExportCsv_Click);
    // Tab goes from the results to Load Job.
    setTabOrder(cmdSearch, fgSearch);
    setTabOrder(fgSearch, cmdLoadJob);
    setTabOrder(cmdLoadJob, cmdExportCsv);
    txtSearch->installEventFilter(this);
    downIntoList(txtSearch, fgSearch);
    fgSearch->installEventFilter(this);
    highlightOnFocus(txtSearch);
    highlightOnFocus(cbJobStatus);

    auto* criteria = new QHBoxLayout;
    criteria->addWidget(labelFor(QStringLiteral("Search &For:"), txtSearch, this));
    criteria->addWidget(txtSearch, 1);
    criteria->addSpacing(12);
    criteria->addWidget(labelFor(QStringLiteral("Fil&ter By:"), cbJobStatus, this));
    criteria->addWidget(cbJobStatus);
    criteria->addSpacing(12);
    criteria->addWidget(labelFor(QStringLiteral("&Order By:"), cbOrderBy, this));
    criteria->addWidget(cbOrderBy);
    criteria->addSpacing(12);
    criteria->addWidget(cmdSearch);

    auto* footer = new QHBoxLayout;
    footer->addWidget(labCount, 1);
    footer->addWidget(cmdExportCsv);
    footer->addWidget(cmdLoadJob);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(criteria);
    layout->addWidget(fgSearch, 1);
    layout->addLayout(footer);

    setSizeGripEnabled(true);
    ConstructSearchGrid();
    // Wide enough for every column, with room for the last one's caption, where the screen
    // allows it.
    int gridWidth = 0;
    for (const RowsModel::Column& column : model_->columns()) {
        gridWidth += app_.screen.toPixelsX(column.widthTwips);
    }
    const QMargins margins = layout->contentsMargins();
    const int wanted = gridWidth + 2 * fgSearch->frameWidth() +
                       fgSearch->verticalScrollBar()->sizeHint().width() + margins.left() +
                       margins.right() + 40;
    const int screenWidth = app_.screen.sizeInPixels().width();
    resize(qMax(960, qMin(wanted, screenWidth - 16)), 560);
}

std::optional<qint32> frmSearchJobs::pick(AppState& app, const std::array<QString, 36>& jobCaptions,
                                          const QString& searchText, const QStringList& statuses,
                                          QWidget* parent) {
    frmSearchJobs search(app, jobCaptions, parent);
    search.Form_Load();
    search.txtSearch->setText(searchText);
    search.cbJobStatus->addItems(statuses);
    search.cbJobStatus->setCurrentIndex(-1);
    search.exec();
    return search.chosenJob();
}

void frmSearchJobs::Form_Load() {
    chosen_.reset();
    ConstructSearchGrid();
    PopualteOrderBy();
    CentreForm(this, app_.screen);
}

QString frmSearchJobs::caption(Caption which) const {
    return captions_[size_t(captionIndex(which))];
}

void frmSearchJobs::ConstructSearchGrid() {
    model_->clear();
    cmdExportCsv->setEnabled(false);
    // Names, numbers and addresses take the room the other columns leave; addresses give way
    // first when there is too little.
    GridColumns::fit(fgSearch, *model_, {1, 3, 2});
}

void frmSearchJobs::PopualteOrderBy() {
    cbOrderBy->clear();
    cbOrderBy->addItems({QStringLiteral("Job Number"), QStringLiteral("Job Status"),
                         caption(Caption::DateCreated), caption(Caption::DateReceived),
                         caption(Caption::DateDue), caption(Caption::CustRef),
                         caption(Caption::WorkName)});
    cbOrderBy->setCurrentIndex(-1);
}

frmSearchJobs::Asked frmSearchJobs::askedNow() const {
    return {txtSearch->text(), cbJobStatus->currentText(),
            orderFieldFor(cbOrderBy->currentText(), captions_)};
}

void frmSearchJobs::cmdSearch_Click() {
    typing_->cancel();
    const Asked asked = askedNow();
    ConstructSearchGrid();
    labCount->clear();
    asked_.reset();
    fingerprint_ = jobsFingerprint(app_.DbConnection);
    if (!model_->show(jobsOn(app_.DbConnection, asked.text, asked.status), asked.orderField)) {
        searchFailed(app_.DbConnection.lastError().message);
        return;
    }
    asked_ = asked;
    countAll();
    selectFirst();
}

void frmSearchJobs::txtSearch_Change() {
    typed_ = askedNow();
    const Asked asked = typed_;
    typing_->typed([asked](Database& db) {
        return jobsBlock(db, asked.text, asked.status, asked.orderField, Qt::AscendingOrder, 0,
                         kBlockRows);
    });
}

void frmSearchJobs::showTyped(const Rows& rows) {
    asked_ = typed_;
    // Read on another connection: the next change another workstation makes searches again.
    fingerprint_.clear();
    model_->showRead(jobsOn(app_.DbConnection, asked_->text, asked_->status), asked_->orderField,
                     Qt::AscendingOrder, rows);
    countAll();
    selectFirst();
}

void frmSearchJobs::countAll() {
    // A first block that is not full holds them all; otherwise the rows show while they are
    // counted.
    if (!model_->totalCount() && asked_) {
        typing_->count(
            [asked = *asked_](Database& db) { return countJobs(db, asked.text, asked.status); });
    }
    showCount();
}

void frmSearchJobs::showCount() {
    const std::optional<qint64> total = model_->totalCount();
    labCount->setText(total ? QString::number(*total) + QStringLiteral(" Matching Jobs")
                            : QStringLiteral("Counting Matching Jobs..."));
    cmdExportCsv->setEnabled(asked_.has_value());
}

void frmSearchJobs::selectFirst() {
    if (model_->rowCount() > 0) {
        fgSearch->setCurrentIndex(model_->index(0, 1));
    }
}

void frmSearchJobs::searchFailed(const QString& reason) {
    showSearchFailure(app_.prompter, reason);
}

void frmSearchJobs::followChanges(const QStringList& tables) {
    if (!asked_ || !changes::concerns(tables, QStringLiteral("Jobs"))) {
        return;
    }
    const QString now = jobsFingerprint(app_.DbConnection);
    if (now.isEmpty() || now == fingerprint_) {
        return;
    }
    const QModelIndex current = fgSearch->currentIndex();
    const QVariant chosen =
        current.isValid() ? model_->value(current.row(), QStringLiteral("DummyId")) : QVariant();
    const int column = current.isValid() ? current.column() : 1;
    if (!model_->show(jobsOn(app_.DbConnection, asked_->text, asked_->status),
                      asked_->orderField)) {
        labCount->clear();
        searchFailed(app_.DbConnection.lastError().message);
        return;
    }
    fingerprint_ = now;
    countAll();
    for (int r = 0; chosen.isValid() && r < model_->rowCount(); ++r) {
        if (model_->value(r, QStringLiteral("DummyId")) == chosen) {
            fgSearch->setCurrentIndex(model_->index(r, column));
            break;
        }
    }
}

void frmSearchJobs::cmdLoadJob_Click() {
    const QModelIndex current = fgSearch->currentIndex();
    const qint64 jobNo =
        current.isValid() ? model_->value(current.row(), QStringLiteral("JobNo")).toLongLong() : 0;
    chosen_.reset();
    if (jobNo > 0 && jobNo <= std::numeric_limits<qint32>::max()) {
        chosen_ = qint32(jobNo);
    }
    accept();
}

void frmSearchJobs::cmdExportCsv_Click() {
    csvexport::askAndExport(app_, QStringLiteral("Jobs.csv"),
                            [this](const QString& file) { exportCsv(file); });
}

bool frmSearchJobs::exportCsv(const QString& file) {
    if (!asked_) {
        return false;
    }
    const QList<resultexport::Column> columns =
        csvexport::shownColumns(*fgSearch, *model_, jobSearchColumns(captions_));
    return csvexport::run(app_, QStringLiteral("Export to CSV"), [&] {
        return exportJobs(app_.DbConnection, file, columns, asked_->text, asked_->status,
                          model_->orderField(), model_->sortOrder());
    });
}

bool frmSearchJobs::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            // Enter searches from the search box and loads the job from the grid, whichever
            // button is the default at the time.
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key != Qt::Key_Return && key != Qt::Key_Enter) {
                break;
            }
            if (watched == txtSearch) {
                cmdSearch_Click();
                return true;
            }
            if (watched == fgSearch) {
                cmdLoadJob_Click();
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}
