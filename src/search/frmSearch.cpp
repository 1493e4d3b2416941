#include "search/frmSearch.h"

#include "db/RowsModel.h"
#include "platform/ScreenMetrics.h"
#include "records/AppState.h"
#include "search/ContactSearch.h"
#include "search/TypingSearch.h"
#include "widgets/CentreForm.h"
#include "widgets/Controls.h"
#include "widgets/CsvExport.h"
#include "widgets/GridColumns.h"
#include "widgets/KeyActions.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>
#include <limits>

namespace {

// An address of several lines shown on one line of the grid.
QString oneLine(const QVariant& value) {
    QString text = value.toString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral(", "));
    text.replace(u'\n', QStringLiteral(", "));
    text.replace(u'\r', QStringLiteral(", "));
    return text;
}

}  // namespace

frmSearch::frmSearch(AppState& app, bool clients, QWidget* parent)
    : QDialog(parent), app_(app), clients_(clients) {
    setObjectName(QStringLiteral("frmSearch"));
    setWindowTitle(QStringLiteral("Search"));

    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setClearButtonEnabled(true);
    highlightOnFocus(txtSearch);
    auto* searchLabel = new QLabel(QStringLiteral("Search &For:"), this);
    searchLabel->setBuddy(txtSearch);
    cmdGo = makeButton(this, "cmdGo", QStringLiteral("&Go"),
                       QStringLiteral("Click here to perform the search."));
    cmdOK = makeButton(this, "cmdOK", QStringLiteral("&Load Contact"));
    SSCommand1 = makeButton(this, "SSCommand1", QStringLiteral("&Close"));
    cmdExportCsv = csvexport::makeButton(this);
    cmdExportCsv->setEnabled(false);
    optSearch[0] = new QRadioButton(QStringLiteral("Search Clients"), this);
    optSearch[1] = new QRadioButton(QStringLiteral("Search Customers"), this);
    for (int i = 0; i < 2; ++i) {
        optSearch[i]->setObjectName(QStringLiteral("optSearch_%1").arg(i));
        optSearch[i]->hide();
    }

    fgSearch = makeResultsGrid(this, "fgSearch");
    QList<RowsModel::Column> columns;
    static constexpr int kWidths[] = {1800, 3000, 1800};
    for (const resultexport::Column& shown : search::contactSearchColumns()) {
        columns << RowsModel::Column{shown.heading, shown.field, oneLine, kWidths[columns.size()]};
    }
    columns << RowsModel::Column{QStringLiteral("DummyId"), QStringLiteral("DummyId"), {}, 0};
    model_ = new RowsModel(columns, this);
    fgSearch->setModel(model_);

    connect(cmdGo, &QPushButton::clicked, this, &frmSearch::cmdGo_Click);
    typing_ = new TypingSearch(app_, this);
    connect(typing_, &TypingSearch::found, this, [this](const Rows& rows) { showFound(rows); });
    connect(typing_, &TypingSearch::failed, this,
            [this](const QString& reason) { showSearchFailure(app_.prompter, reason); });
    connect(txtSearch, &QLineEdit::textEdited, this, &frmSearch::txtSearch_Change);
    downIntoList(txtSearch, fgSearch);
    connect(cmdOK, &QPushButton::clicked, this, &frmSearch::cmdOK_Click);
    connect(fgSearch, &QTableView::doubleClicked, this, &frmSearch::cmdOK_Click);
    connect(SSCommand1, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdExportCsv, &QPushButton::clicked, this, &frmSearch::cmdExportCsv_Click);
    txtSearch->installEventFilter(this);
    fgSearch->installEventFilter(this);

    auto* criteria = new QHBoxLayout;
    criteria->addWidget(searchLabel);
    criteria->addWidget(txtSearch, 1);
    criteria->addWidget(cmdGo);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdExportCsv);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(SSCommand1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(criteria);
    layout->addWidget(fgSearch, 1);
    layout->addLayout(buttons);
    setTabOrder(txtSearch, cmdGo);
    setTabOrder(cmdGo, fgSearch);
    setTabOrder(fgSearch, cmdOK);
    setTabOrder(cmdOK, SSCommand1);
    setTabOrder(SSCommand1, cmdExportCsv);

    setSizeGripEnabled(true);
    // Room for an address of a few lines on one row: the address takes what the name and the
    // telephone leave, and a narrower window cut most of them.
    resize(app_.screen.toPixelsX(1800 + 6000 + 1800) + 80, 420);
    CentreForm(this, app_.screen);
    Form_Load();
}

std::optional<qint32> frmSearch::pick(AppState& app, bool clients, QWidget* parent) {
    frmSearch search(app, clients, parent);
    search.exec();
    return search.chosen();
}

void frmSearch::Form_Load() {
    chosen_.reset();
    ContructGrid();
}

void frmSearch::ContructGrid() {
    model_->clear();
    cmdExportCsv->setEnabled(false);
    GridColumns::fit(fgSearch, *model_, {0, 2, 1});
}

void frmSearch::cmdGo_Click() {
    typing_->cancel();
    ContructGrid();
    std::optional<Rows> rows =
        search::searchContacts(app_.DbConnection, txtSearch->text(), clients_);
    if (!rows) {
        showSearchFailure(app_.prompter, app_.DbConnection.lastError().message);
        return;
    }
    showFound(std::move(*rows));
}

void frmSearch::txtSearch_Change() {
    typing_->typed([text = txtSearch->text(), clients = clients_](Database& db) {
        return search::searchContacts(db, text, clients);
    });
}

void frmSearch::showFound(Rows rows) {
    const bool any = !rows.isEmpty();
    model_->setRows(std::move(rows));
    cmdExportCsv->setEnabled(true);
    if (any) {
        fgSearch->setCurrentIndex(model_->index(0, 0));
    }
}

void frmSearch::cmdOK_Click() {
    const QModelIndex current = fgSearch->currentIndex();
    if (!current.isValid()) {
        return;
    }
    const qint64 id = model_->value(current.row(), QStringLiteral("DummyId")).toLongLong();
    if (id <= 0 || id > std::numeric_limits<qint32>::max()) {
        return;
    }
    chosen_ = qint32(id);
    accept();
}

void frmSearch::cmdExportCsv_Click() {
    csvexport::askAndExport(
        app_, clients_ ? QStringLiteral("Clients.csv") : QStringLiteral("Customers.csv"),
        [this](const QString& file) { exportCsv(file); });
}

bool frmSearch::exportCsv(const QString& file) {
    // The grid holds every contact found.
    const QList<resultexport::Column> columns = csvexport::shownColumns(*fgSearch, *model_);
    return csvexport::run(app_, QStringLiteral("Export to CSV"),
                          [&] { return resultexport::exportRows(file, columns, model_->rows()); });
}

bool frmSearch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter searches from the search box and takes the row from the grid.
            if (watched == txtSearch) {
                cmdGo_Click();
                return true;
            }
            if (watched == fgSearch) {
                cmdOK_Click();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}
