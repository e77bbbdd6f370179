#include "query/frmShowQueryData.h"

#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTableWidget>
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "dataset/dataset_loading.h"
#include "engine/projection.h"
#include "engine/renderer.h"
#include "feedback/dialog_service.h"
#include "feedback/error_report.h"
#include "mapview/map.h"
#include "query/query_catalogue.h"
#include "query/results_export.h"
#include "shell/frmMain.h"
#include "siting/number_text.h"
#include "siting/query_descriptors.h"
#include "siting/result_set.h"
#include "siting/study.h"

namespace {

// Item data: the value a column sorts by, and the class colour of a row.
constexpr int kSortRole = Qt::UserRole;
constexpr int kColourRole = Qt::UserRole + 1;

// Sorts by number, not by the text shown.
class NumberItem : public QTableWidgetItem {
  public:
    NumberItem(const QString& text, double key) : QTableWidgetItem(text) {
        setData(kSortRole, key);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        return data(kSortRole).toDouble() < other.data(kSortRole).toDouble();
    }
};

// The class colour as a square with a black border (two pixels wide for solar classes).
QIcon swatch(engine::ColorNumber colour, int border, int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::black);
    QPainter p(&pixmap);
    p.fillRect(QRect(border, border, side - 2 * border, side - 2 * border),
               engine::toQColor(colour));
    return QIcon(pixmap);
}

}  // namespace

frmShowQueryData::frmShowQueryData(frmMain& owner) : QWidget(&owner, Qt::Window), owner_(owner) {
    setObjectName("frmShowQueryData");
    setWindowTitle("Query Results");

    tblResults = new QTableWidget(0, 3);
    tblResults->setObjectName("tblResults");
    tblResults->setHorizontalHeaderLabels({"Class", "Area (km²)", "Share of total (%)"});
    tblResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblResults->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblResults->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tblResults->verticalHeader()->hide();
    tblResults->setWordWrap(false);
    QHeaderView* header = tblResults->horizontalHeader();
    // The numbers as wide as their texts; the classes take the room that is left, never less
    // than their own (see fitTableWidth).
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(ClassColumn, QHeaderView::Stretch);
    header->setSortIndicator(-1, Qt::AscendingOrder);  // the order each class first occurs
    tblResults->setSortingEnabled(true);

    lblTotal = new QLabel;
    cmdCopy = new QPushButton("Copy");
    cmdExportCsv = new QPushButton("Export CSV...");
    cmdClose = new QPushButton("Close");
    connect(cmdCopy, &QPushButton::clicked, this, &frmShowQueryData::cmdCopy_Click);
    connect(cmdExportCsv, &QPushButton::clicked, this, &frmShowQueryData::cmdExportCsv_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tblResults, 1);
    layout->addWidget(lblTotal);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdCopy);
    buttons->addWidget(cmdExportCsv);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);

    // The copy key copies the whole table, as Copy does, not the one cell the view would.
    tblResults->installEventFilter(this);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    // About 80 characters by 20 lines of the desktop's font to begin with.
    resize(fontMetrics().averageCharWidth() * 80, fontMetrics().lineSpacing() * 20);
}

frmShowQueryData& frmShowQueryData::of(frmMain& owner) {
    if (auto* existing = owner.findChild<frmShowQueryData*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new frmShowQueryData(owner);
}

bool frmShowQueryData::event(QEvent* e) {
    // Filled when shown and at every later activation. The activation that follows a show is
    // the same moment and is skipped (the window system may or may not report it), and the
    // message box of a fill must not start another fill.
    const bool shown = e->type() == QEvent::Show;
    if ((shown || e->type() == QEvent::WindowActivate) && !filling_) {
        if (!shown && justShown_) {
            justShown_ = false;
        } else {
            justShown_ = shown;
            filling_ = true;
            md_query_functions2::UpdateQueryDataForm(owner_, *this);
            filling_ = false;
        }
    }
    return QWidget::event(e);
}

bool frmShowQueryData::eventFilter(QObject* watched, QEvent* e) {
    if (watched == tblResults && e->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(e)->matches(QKeySequence::Copy)) {
        cmdCopy_Click();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

void frmShowQueryData::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::FontChange) fitTableWidth();
}

void frmShowQueryData::fitTableWidth() {
    const QHeaderView& header = *tblResults->horizontalHeader();
    const QAbstractItemView& view = *tblResults;
    int width = 2 * tblResults->frameWidth() + tblResults->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < tblResults->columnCount(); ++c)
        width += std::max(view.sizeHintForColumn(c), header.sectionSizeHint(c));
    tblResults->setMinimumWidth(width);
}

void frmShowQueryData::closeEvent(QCloseEvent* e) {
    Form_Unload();
    QWidget::closeEvent(e);
}

void frmShowQueryData::Form_Unload() {
    md_functions::reportingFailure(
        " Error while dunloading results table. Error Source:frmShowQueryData.Form_Unload()", [&] {
            tblResults->setRowCount(0);
            lblTotal->clear();
            owner_.UpdateInterface();
        });
}

namespace {

std::vector<query::ResultRow> shownRows(const QTableWidget& table) {
    std::vector<query::ResultRow> rows;
    for (int r = 0; r < table.rowCount(); ++r) {
        const QTableWidgetItem* item = table.item(r, frmShowQueryData::ClassColumn);
        rows.push_back({item->text(), item->data(kColourRole).value<QColor>(),
                        table.item(r, frmShowQueryData::AreaColumn)->data(kSortRole).toDouble(),
                        table.item(r, frmShowQueryData::ShareColumn)->data(kSortRole).toDouble()});
    }
    return rows;
}

}  // namespace

QString frmShowQueryData::tableText() const { return query::tabSeparated(shownRows(*tblResults)); }

void frmShowQueryData::cmdCopy_Click() { QApplication::clipboard()->setText(tableText()); }

void frmShowQueryData::cmdExportCsv_Click() {
    const QString path = feedback::dialogs().saveFileName(
        this, "Export CSV", md_functions::datasetState().dataDirectory, "CSV files (*.csv)", "csv");
    if (path.isEmpty()) return;
    QString reason;
    if (!query::writeTextFile(path, query::commaSeparated(shownRows(*tblResults)), &reason))
        feedback::dialogs().messageBox(
            "The table could not be written to " + QDir::toNativeSeparators(path) + ": " + reason,
            feedback::mbOKOnly, feedback::iconWarning);
}

namespace md_query_functions2 {

void UpdateQueryDataForm(frmMain& f, frmShowQueryData& form) {
    // Continue-on-error: a failing step is skipped without a message.
    const siting::Study& study = *siting::Study::of(f);
    std::vector<std::pair<engine::ColorNumber, double>> summary;
    try {
        if (const siting::QueryResult* result = study.result()) summary = ClassSummary(*result);
    } catch (...) {
    }
    // Shares and the total count every result area, also those of classes beyond the last row.
    double total = 0;
    for (const auto& [colour, area] : summary) total += area;
    if (int(summary.size()) > frmShowQueryData::kRows) {
        feedback::dialogs().messageBox("Form will not be able to show all values");
        summary.resize(frmShowQueryData::kRows);
    }
    const QString field =
        study.result() ? study.result()->fieldName.trimmed().toUpper() : QString();
    const bool solar = field == "ANNDIR" || field == "ANNTILT" || field == "ANNGLO";

    QTableWidget& table = *form.tblResults;
    // Rows go in unsorted; the column the user sorted by, if any, orders them after.
    table.setSortingEnabled(false);
    table.setRowCount(0);
    const int side = table.fontMetrics().height();
    table.setIconSize(QSize(side, side));
    const QLocale locale;
    for (const auto& [colour, area] : summary) {
        try {
            const int row = table.rowCount();
            table.insertRow(row);
            auto* cls = new NumberItem(CreateAreaDescription(f, colour),
                                       md_functions::ResultClassRank(colour));
            cls->setIcon(swatch(colour, solar ? 2 : 1, side));
            cls->setData(kColourRole, engine::toQColor(colour));
            table.setItem(row, frmShowQueryData::ClassColumn, cls);
            auto* km2 = new NumberItem(locale.toString(area, 'f', 2), area);
            km2->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table.setItem(row, frmShowQueryData::AreaColumn, km2);
            const double share = total > 0 ? area / total * 100 : 0;
            auto* percent = new NumberItem(locale.toString(share, 'f', 1), share);
            percent->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table.setItem(row, frmShowQueryData::ShareColumn, percent);
        } catch (...) {
        }
    }
    table.setSortingEnabled(true);
    form.fitTableWidth();
    form.lblTotal->setText("Total: " + locale.toString(total, 'f', 2) + " km²");
}

QString CreateAreaDescription(frmMain& f, engine::ColorNumber colour) {
    try {
        return ClassDescription(*siting::Study::of(f), f.cboSelectQuery->currentText(),
                                f.cboQueryDropDown3->currentText(), colour);
    } catch (...) {
        md_functions::ErrorMessage(" Error Source:md_query_functions2.CreateAreaDescription()", 48);
        return {};
    }
}

}  // namespace md_query_functions2

namespace query {

void cmdShowData_Click(frmMain& f) {
    md_functions::reportingFailure(
        " Error while trying to show results query. Error Source:frmMain.cmdShowData_Click()", [&] {
            frmShowQueryData& form = frmShowQueryData::of(f);
            form.show();
            form.raise();
            form.activateWindow();
        });
}

}  // namespace query
