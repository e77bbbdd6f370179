#include "zorvel/window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <cmath>

namespace zorvel {

namespace {
QString money(double v) { return (v < 0 ? "-$" : "$") + QLocale().toString(std::abs(v), 'f', 0); }
}  // namespace

ZorvelWindow::ZorvelWindow(QWidget* parent)
    : QMainWindow(parent), project_(std::make_unique<Project>()) {
    setWindowTitle("Zorvel");
    resize(1100, 760);

    QToolBar* bar = addToolBar("Zorvel");
    bar->setMovable(false);
    open_ = bar->addAction("Open...", this, &ZorvelWindow::openDialog);
    saveAs_ = bar->addAction("Save As...", this, &ZorvelWindow::saveAsDialog);
    exportYear_ = bar->addAction("Export hourly year...", this, &ZorvelWindow::exportYearDialog);
    bar->addSeparator();
    calculate_ = bar->addAction("Calculate", this, &ZorvelWindow::calculate);
    stop_ = bar->addAction("Stop", this, &ZorvelWindow::stopCalculation);
    progress_ = new QProgressBar;
    progress_->setRange(0, 1000);
    progress_->setValue(0);
    progress_->setTextVisible(true);
    progress_->setFormat("");
    progress_->setMaximumWidth(260);
    bar->addSeparator();
    bar->addWidget(progress_);
    status_ = new QLabel("Open a project (.zvx) to begin.");
    statusBar()->addWidget(status_, 1);

    // Inputs tab: the economic inputs that are most often changed, and the input summary.
    QWidget* inputsPage = new QWidget;
    auto* inputsLayout = new QVBoxLayout(inputsPage);
    auto* form = new QFormLayout;
    discount_ = new QDoubleSpinBox;
    discount_->setRange(0, 100);
    discount_->setDecimals(2);
    discount_->setSuffix(" %");
    shortage_ = new QDoubleSpinBox;
    shortage_->setRange(0, 100);
    shortage_->setDecimals(2);
    shortage_->setSuffix(" %");
    fuelPrice_ = new QDoubleSpinBox;
    fuelPrice_->setRange(0, 1000);
    fuelPrice_->setDecimals(3);
    fuelPrice_->setPrefix("$ ");
    fuelPrice_->setSuffix(" /L");
    form->addRow("Real discount rate:", discount_);
    form->addRow("Allowed capacity shortage:", shortage_);
    form->addRow("Diesel price:", fuelPrice_);
    for (QDoubleSpinBox* box : {discount_, shortage_, fuelPrice_})
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] {
            if (!loading_) applyInputs();
        });
    inputsLayout->addLayout(form);
    inputs_ = new QTextBrowser;
    inputs_->setOpenLinks(false);
    inputsLayout->addWidget(inputs_, 1);

    // Results tab: the sorted list and the chosen system's summary.
    QWidget* resultsPage = new QWidget;
    auto* resultsLayout = new QVBoxLayout(resultsPage);
    auto* listRow = new QHBoxLayout;
    list_ = new QComboBox;
    list_->addItem("Feasible systems, least net present cost first");
    list_->addItem("Every system tried (feasible first)");
    connect(list_, &QComboBox::currentIndexChanged, this, &ZorvelWindow::showResults);
    listRow->addWidget(new QLabel("Show:"));
    listRow->addWidget(list_);
    listRow->addStretch(1);
    resultsLayout->addLayout(listRow);
    auto* split = new QSplitter(Qt::Vertical);
    table_ = new QTableWidget(0, 9);
    table_->setHorizontalHeaderLabels({"", "Type", "System", "Net present cost", "COE ($/kWh)",
                                       "Renewable", "Capacity shortage", "Diesel (L/yr)",
                                       "Feasible"});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    table_->setColumnWidth(0, 18);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &ZorvelWindow::showSummary);
    summary_ = new QTextBrowser;
    split->addWidget(table_);
    split->addWidget(summary_);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);
    resultsLayout->addWidget(split, 1);

    tabs_ = new QTabWidget;
    tabs_->addTab(inputsPage, "Inputs");
    tabs_->addTab(resultsPage, "Results");
    setCentralWidget(tabs_);

    timer_ = new QTimer(this);
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, &ZorvelWindow::poll);
    setRunning(false);
}

ZorvelWindow::~ZorvelWindow() {
    if (project_) project_->StopCalculation();
}

void ZorvelWindow::showError(const QString& what, const std::exception& e) {
    status_->setText(what + ": " + QString::fromUtf8(e.what()));
    QMessageBox::warning(this, "Zorvel", what + "\n\n" + QString::fromUtf8(e.what()));
}

bool ZorvelWindow::openProject(const QString& path) {
    auto fresh = std::make_unique<Project>();
    try {
        fresh->OpenFile(path.toStdString());
    } catch (const std::exception& e) {
        showError("Could not open the project " + path, e);
        return false;
    }
    if (project_) project_->StopCalculation();
    project_ = std::move(fresh);
    path_ = path;
    setWindowTitle("Zorvel - " + QString::fromStdString(project_->Name()) + " (" +
                   QFileInfo(path).fileName() + ")");
    loading_ = true;
    discount_->setValue(project_->GetRealDiscountRate());
    shortage_->setValue(project_->GetCapacityShortage());
    try {
        fuelPrice_->setEnabled(true);
        fuelPrice_->setValue(project_->GetFuel("Diesel").GetPrice());
    } catch (const Error&) {
        fuelPrice_->setEnabled(false);
    }
    loading_ = false;
    table_->setRowCount(0);
    summary_->clear();
    progress_->setValue(0);
    progress_->setFormat("");
    refreshInputs();
    tabs_->setCurrentIndex(0);
    setRunning(false);
    return true;
}

void ZorvelWindow::openDialog() {
    QString path =
        QFileDialog::getOpenFileName(this, "Open Zorvel project", QFileInfo(path_).absolutePath(),
                                     "Zorvel projects (*.zvx);;All files (*)");
    if (!path.isEmpty()) openProject(path);
}

void ZorvelWindow::saveAsDialog() {
    QString path =
        QFileDialog::getSaveFileName(this, "Save Zorvel project", path_, "Zorvel projects (*.zvx)");
    if (path.isEmpty()) return;
    try {
        project_->SaveFileAs(path.toStdString());
        path_ = path;
        status_->setText("Saved " + path);
    } catch (const std::exception& e) {
        showError("Could not save the project", e);
    }
}

void ZorvelWindow::exportYearDialog() {
    QString suggested =
        QFileInfo(path_).absolutePath() + "/" + QFileInfo(path_).completeBaseName() + "_hourly.csv";
    QString path =
        QFileDialog::getSaveFileName(this, "Export hourly year", suggested, "CSV files (*.csv)");
    if (!path.isEmpty()) exportYear(path);
}

bool ZorvelWindow::exportYear(const QString& path) {
    try {
        project_->ExportHourlyYear(path.toStdString());
    } catch (const std::exception& e) {
        showError("Could not export the hourly year", e);
        return false;
    }
    status_->setText("Exported the hourly year to " + path);
    return true;
}

void ZorvelWindow::applyInputs() {
    try {
        project_->SetRealDiscountRate(static_cast<float>(discount_->value()));
        project_->SetCapacityShortage(static_cast<float>(shortage_->value()));
        if (fuelPrice_->isEnabled()) {
            Fuel f = project_->GetFuel("Diesel");
            f.SetPrice(static_cast<float>(fuelPrice_->value()));
            project_->PutFuel("Diesel", f);
        }
        refreshInputs();
    } catch (const std::exception& e) {
        showError("Could not change the inputs", e);
    }
}

void ZorvelWindow::refreshInputs() {
    try {
        inputs_->setHtml(QString::fromStdString(project_->InputSummaryHtml()));
        if (project_->InputsComplete() == 1)
            status_->setText(QString("Ready: %1 systems to try.").arg(project_->SystemsToTry()));
        else
            status_->setText("The inputs are not complete: " +
                             QString::fromStdString(project_->MissingInputs()));
    } catch (const std::exception& e) {
        showError("Could not show the inputs", e);
    }
    setRunning(false);
}

void ZorvelWindow::setRunning(bool running) {
    bool open = project_ && project_->InputsComplete() == 1;
    calculate_->setEnabled(!running && open);
    stop_->setEnabled(running);
    open_->setEnabled(!running);
    saveAs_->setEnabled(!running && !path_.isEmpty());
    exportYear_->setEnabled(!running && !path_.isEmpty());
    discount_->setEnabled(!running && !path_.isEmpty());
    shortage_->setEnabled(!running && !path_.isEmpty());
}

void ZorvelWindow::calculate() {
    if (project_->IsCalculating()) return;
    try {
        project_->StartCalculation();
    } catch (const std::exception& e) {
        showError("Could not start the calculation", e);
        return;
    }
    table_->setRowCount(0);
    summary_->clear();
    progress_->setValue(0);
    progress_->setFormat("%p%");
    status_->setText(QString("Calculating %1 systems...").arg(project_->SystemsToTry()));
    setRunning(true);
    timer_->start();
}

void ZorvelWindow::stopCalculation() {
    if (!project_->IsCalculating()) return;
    project_->StopCalculation();
    timer_->stop();
    progress_->setFormat("Stopped");
    status_->setText("Calculation stopped.");
    setRunning(false);
}

void ZorvelWindow::poll() {
    progress_->setValue(static_cast<int>(project_->PercentComplete() * 10));
    if (project_->IsCalculating()) return;
    timer_->stop();
    project_->StopCalculation();  // joins the finished workers
    progress_->setValue(1000);
    progress_->setFormat("Done");
    status_->setText(QString("%1 systems tried in %2 s; %3 feasible.")
                         .arg(project_->SystemsToTry())
                         .arg(project_->LastCalculationSeconds(), 0, 'f', 2)
                         .arg(project_->ResultCount(0)));
    setRunning(false);
    showResults();
    tabs_->setCurrentIndex(1);
}

void ZorvelWindow::showResults() {
    if (!project_ || project_->IsCalculating()) return;
    int list = list_->currentIndex() == 1 ? 1 : 0;
    int n = 0;
    try {
        n = project_->ResultCount(list);
    } catch (const std::exception& e) {
        showError("Could not read the results", e);
        return;
    }
    const int maxRows = 2000;
    int rows = std::min(n, maxRows);
    table_->setRowCount(rows);
    for (int i = 0; i < rows; ++i) {
        Result r = project_->GetResult(list, i);
        std::int32_t c = project_->SystemTypeColor(r.SystemTypeCode());
        auto* swatch = new QTableWidgetItem;
        swatch->setBackground(QColor(c & 255, (c >> 8) & 255, (c >> 16) & 255));
        table_->setItem(i, 0, swatch);
        table_->setItem(i, 1,
                        new QTableWidgetItem(
                            QString::fromStdString(Project::SystemTypeName(r.SystemTypeCode()))));
        table_->setItem(i, 2,
                        new QTableWidgetItem(QString::fromStdString(project_->DescribeSystem(r))));
        auto num = [](const QString& s) {
            auto* it = new QTableWidgetItem(s);
            it->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            return it;
        };
        table_->setItem(i, 3, num(money(r.npc)));
        table_->setItem(i, 4, num(QLocale().toString(r.costOfEnergy, 'f', 3)));
        table_->setItem(i, 5, num(QLocale().toString(r.renewableFraction * 100, 'f', 1) + " %"));
        table_->setItem(i, 6, num(QLocale().toString(r.capacityShortage * 100, 'f', 2) + " %"));
        table_->setItem(i, 7, num(QLocale().toString(r.fuelLitres, 'f', 0)));
        table_->setItem(i, 8, new QTableWidgetItem(r.feasible ? "yes" : "no"));
    }
    for (int c = 1; c < table_->columnCount(); ++c)
        if (c != 2) table_->resizeColumnToContents(c);
    if (rows > 0) {
        table_->selectRow(0);
    } else {
        summary_->setHtml("<p>Sorry, there were no feasible solutions.</p>");
    }
}

void ZorvelWindow::showSummary() {
    int row = table_->currentRow();
    if (row < 0 || project_->IsCalculating()) return;
    int list = list_->currentIndex() == 1 ? 1 : 0;
    try {
        summary_->setHtml(
            QString::fromStdString(project_->SystemSummaryHtml(project_->GetResult(list, row))));
    } catch (const std::exception& e) {
        showError("Could not show the system summary", e);
    }
}

void ZorvelWindow::closeEvent(QCloseEvent* e) {
    timer_->stop();
    if (project_) project_->StopCalculation();
    e->accept();
}

}  // namespace zorvel
