#include "model/frmZORVEL.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>

#include "model/applications.h"
#include "model/conversions.h"
#include "model/cost_chart.h"
#include "model/documents_folder.h"
#include "model/frmZORVELSummary.h"
#include "shell/frmMain.h"
#include "shell/window_registry.h"

namespace {

const QColor kErrorColor(255, 0, 0);

const QString kStartMessage = QStringLiteral(
    "Before running, this space \ngives feedback on inputs.\n\nWhile running, this space shows\n"
    "status messages about Zorvel\n\nAfter running, this will be\nreplaced by bar graph or list\n"
    "of top choices.\n");

QLabel* boldLabel(const QString& text) {
    auto* l = new QLabel(text);
    QFont bold = l->font();
    bold.setBold(true);
    l->setFont(bold);
    return l;
}

QLabel* wrappedLabel(const QString& text = {}) {
    auto* l = new QLabel(text);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

}  // namespace

frmZORVEL::frmZORVEL(frmMain& main) : QWidget(&main, Qt::Window), main_(main) {
    setWindowTitle(QStringLiteral("Zorvel Pallix"));
    createControls();
    Form_Initialize();
    // Closing the main window during a run must end the run.
    main_.installEventFilter(this);
    shell::registerWindow(this);
}

frmZORVEL::~frmZORVEL() = default;

// The site label and resource grid on top; below them the inputs and buttons on the left and,
// taking the room that is left, the message box, which gives way to the results table when a
// run ends.
void frmZORVEL::createControls() {
    auto* root = new QVBoxLayout(this);

    lblPallixData = boldLabel(QStringLiteral("Pallix data"));
    root->addWidget(lblPallixData);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    const QStringList monthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul",
                                    "Aug", "Sep", "Oct", "Nov", "Dec", "Annual"};
    lblSolarRowLabel = new QLabel(QStringLiteral("Solar (kWh/m2/day)"));
    lblWindRowLabel = new QLabel(QStringLiteral("Wind (W/m2)"));
    lblHydroRowLabel = new QLabel(QStringLiteral("Hydro"));
    grid->addWidget(lblSolarRowLabel, 1, 0);
    grid->addWidget(lblWindRowLabel, 2, 0);
    grid->addWidget(lblHydroRowLabel, 3, 0);
    for (int i = 0; i < 13; ++i) {
        lblMonth[i] = boldLabel(monthNames[i]);
        lblSolarResource[i] = new QLabel;
        lblWindResource[i] = new QLabel;
        lblHydroResource[i] = new QLabel;
        const std::array<QLabel*, 4> column = {lblMonth[i], lblSolarResource[i], lblWindResource[i],
                                               lblHydroResource[i]};
        for (int row = 0; row < 4; ++row) {
            column[size_t(row)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->addWidget(column[size_t(row)], row, i + 1);
        }
        grid->setColumnStretch(i + 1, 1);
    }
    root->addLayout(grid);

    lblSiteNote = wrappedLabel();
    lblSiteNote->hide();
    root->addWidget(lblSiteNote);
    chkHydro = new QCheckBox(QStringLiteral("Include hydro in the Zorvel run"));
    chkHydro->setChecked(true);
    chkHydro->setEnabled(false);
    root->addWidget(chkHydro);
    root->addSpacing(fontMetrics().height() / 2);

    auto* body = new QHBoxLayout;
    root->addLayout(body, 1);
    auto* inputs = new QVBoxLayout;
    body->addLayout(inputs, 2);

    lblApplication = new QLabel(QStringLiteral("1) What application would you like to model?"));
    cboZORVELApplication = new QComboBox;
    lblApplication->setBuddy(cboZORVELApplication);
    lblApplicationInfo = wrappedLabel();
    inputs->addWidget(lblApplication);
    inputs->addWidget(cboZORVELApplication);
    inputs->addWidget(lblApplicationInfo);

    auto* economics = new QGridLayout;
    lblDieselFuelPrice = wrappedLabel(QStringLiteral("2) Diesel fuel price ($/liter):"));
    txtDieselFuelPrice = new QLineEdit(QStringLiteral("0.40"));
    lblReliability =
        wrappedLabel(QStringLiteral("3) Annual energy requirement that can be unserved (%):"));
    txtReliability = new QLineEdit(QStringLiteral("0"));
    lblDiscountRate = wrappedLabel(QStringLiteral("4) Interest rate minus inflation (%):"));
    txtDiscountRate = new QLineEdit(QStringLiteral("5"));
    const std::array<std::pair<QLabel*, QLineEdit*>, 3> rows = {
        {{lblDieselFuelPrice, txtDieselFuelPrice},
         {lblReliability, txtReliability},
         {lblDiscountRate, txtDiscountRate}}};
    for (int r = 0; r < 3; ++r) {
        auto [caption, box] = rows[size_t(r)];
        caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        caption->setBuddy(box);
        box->setMaxLength(12);
        box->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        economics->addWidget(caption, r, 0);
        economics->addWidget(box, r, 1);
    }
    economics->setColumnStretch(0, 3);
    economics->setColumnStretch(1, 1);
    inputs->addLayout(economics);
    inputs->addStretch(1);

    auto* buttons = new QGridLayout;
    cmdRunZORVEL = new QPushButton(QStringLiteral("Start Zorvel"));
    cmdZORVEL_IR = new QPushButton(QStringLiteral("View Zorvel Input Summary"));
    cmdLaunchZORVEL = new QPushButton(QStringLiteral("Open Zorvel File"));
    cmdCloseWindow = new QPushButton(QStringLiteral("Close Window"));
    buttons->addWidget(cmdRunZORVEL, 0, 0);
    buttons->addWidget(cmdZORVEL_IR, 0, 1);
    buttons->addWidget(cmdLaunchZORVEL, 1, 0);
    buttons->addWidget(cmdCloseWindow, 1, 1);
    inputs->addLayout(buttons);

    messagesOrTable_ = new QStackedWidget;
    body->addWidget(messagesOrTable_, 3);
    txtMessages = new QPlainTextEdit;
    txtMessages->setReadOnly(true);
    txtMessages->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);  // long lines wrap
    messagesOrTable_->addWidget(txtMessages);

    auto* page = new model::CostChartPage;
    auto* table = new QGridLayout(page);
    table->setContentsMargins(0, 0, 0, 0);
    lblSystemTypeColHeading = boldLabel(QStringLiteral("System Type"));
    lblNPCColHeading = boldLabel(QStringLiteral("Net Present Cost"));
    table->addWidget(lblSystemTypeColHeading, 0, 0);
    table->addWidget(lblNPCColHeading, 0, 1, 1, 2);
    for (int i = 0; i < 6; ++i) {
        lblSystemType[i] = wrappedLabel();
        lblSystemType[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        lblSystemNPC[i] = new QLabel;
        lblSystemNPC[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        barCells[i] = new model::CostBarCell;
        shpBar[i] = barCells[i]->bar();
        cmdZORVEL_OR[i] = new QPushButton(QStringLiteral("Details..."));
        cmdZORVEL_OR[i]->setEnabled(false);
        connect(cmdZORVEL_OR[i], &QPushButton::clicked, this, [this, i] { cmdZORVEL_OR_Click(i); });
        table->addWidget(lblSystemType[i], i + 1, 0);
        table->addWidget(lblSystemNPC[i], i + 1, 1);
        table->addWidget(barCells[i], i + 1, 2);
        table->addWidget(cmdZORVEL_OR[i], i + 1, 3);
    }
    costAxis = new model::CostAxis;
    table->addWidget(costAxis, 7, 2);
    lblColourKey = wrappedLabel();
    lblColourKey->setTextFormat(Qt::RichText);
    table->addWidget(lblColourKey, 8, 0, 1, 4);
    table->setColumnStretch(0, 3);
    table->setColumnStretch(2, 2);
    table->setRowStretch(9, 1);
    page->setChart(barCells[0], costAxis);
    messagesOrTable_->addWidget(page);

    // Escape closes the window as its Close button does.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    resize(sizeHint().expandedTo(QSize(880, 470)));
}

void frmZORVEL::Form_Initialize() {
    documentsFolder = model::DocumentsFolder();
    inputSummaryPath = documentsFolder + QStringLiteral("InputSummary.html");
    savedStartCaption = cmdRunZORVEL->text();
    for (const model::Application& a : model::kApplications)
        cboZORVELApplication->addItem(a.listText);
    cboZORVELApplication->setCurrentIndex(0);
    lblApplicationInfo->setText(
        QStringLiteral("Please choose an application from the drop-down box above."));
    txtMessages->setPlainText(kStartMessage);
    cmdRunZORVEL->setEnabled(false);
    cmdZORVEL_IR->setEnabled(false);
    cmdLaunchZORVEL->setEnabled(false);

    connect(cboZORVELApplication, &QComboBox::currentIndexChanged, this,
            [this] { cboZORVELApplication_Click(); });
    for (QLineEdit* box : {txtDieselFuelPrice, txtReliability, txtDiscountRate})
        connect(box, &QLineEdit::textChanged, this, [this] { SetButtonStates(); });
    connect(chkHydro, &QCheckBox::toggled, this, [this] {
        showHydroState();
        SetButtonStates();
    });
    connect(cmdRunZORVEL, &QPushButton::clicked, this, [this] { cmdRunZORVEL_Click(); });
    connect(cmdLaunchZORVEL, &QPushButton::clicked, this, [this] { cmdLaunchZORVEL_Click(); });
    connect(cmdZORVEL_IR, &QPushButton::clicked, this, [this] { cmdZORVEL_IR_Click(); });
    connect(cmdCloseWindow, &QPushButton::clicked, this, [this] { cmdCloseWindow_Click(); });
}

frmZORVELSummary& frmZORVEL::summaryWindow() {
    if (!summary_)
        summary_ = new frmZORVELSummary(this);
    return *summary_;
}

void frmZORVEL::setMessage(const QString& text) { txtMessages->setPlainText(text); }

void frmZORVEL::setMessageColor(const QColor& color) {
    QPalette palette = txtMessages->palette();
    palette.setColor(QPalette::Text, color);
    txtMessages->setPalette(palette);
}

void frmZORVEL::cboZORVELApplication_Click() {
    if (!main_.bMainFormLoaded)
        return;
    const int index = cboZORVELApplication->currentIndex();
    if (index < 0)
        return;
    const model::Application& a = model::kApplications[size_t(index)];
    lblApplicationInfo->setText(a.description);
    templatePath = documentsFolder + a.templateFile;
    workingFilePath = documentsFolder + QStringLiteral("user_") + a.templateFile;
    txtReliability->setText(a.unservedEnergyDefault);
    SetButtonStates();
}

bool frmZORVEL::ValidateUserInputs() {
    txtMessages->clear();
    const auto refuse = [this](const QString& message) {
        setMessageColor(kErrorColor);
        setMessage(message);
        return true;
    };
    if (cboZORVELApplication->currentIndex() <= 0)
        return refuse(QStringLiteral("Please choose an application from the drop-down list."));
    const auto price = model::ReadNumber(txtDieselFuelPrice->text());
    if (!price)
        return refuse(QStringLiteral("Please enter a number like 0.40 for the diesel fuel price."));
    if (!(*price > 0))
        return refuse(
            QStringLiteral("Please enter a number greater than zero for the diesel fuel price."));
    const auto unserved = model::ReadNumber(txtReliability->text());
    if (!unserved || *unserved < 0 || *unserved > 100)
        return refuse(QStringLiteral(
            "Please enter a number from 0 to 100 for reliability.  0 means 100% reliable."));
    const auto rate = model::ReadNumber(txtDiscountRate->text());
    if (!rate || *rate < 0 || *rate > 100)
        return refuse(
            QStringLiteral("Please enter a number from 0 to 100 for the real discount rate."));
    return false;
}

void frmZORVEL::SetButtonStates() {
    const bool bad = ValidateUserInputs();
    bInputSummaryCurrent = false;
    cmdLaunchZORVEL->setEnabled(false);
    showMessages(true);
    for (QPushButton* b : cmdZORVEL_OR)
        b->setEnabled(false);
    const bool ready = site.complete && !bad;
    // A running calculation can always be stopped, whatever the user types meanwhile.
    cmdRunZORVEL->setEnabled(ready || running_);
    cmdZORVEL_IR->setEnabled(ready);
    const QString reason = startBlockedReason(bad);
    cmdRunZORVEL->setToolTip(running_ ? QString() : reason);
    cmdZORVEL_IR->setToolTip(reason);
}

QString frmZORVEL::startBlockedReason(bool badInputs) const {
    if (!site.complete)
        return lblSiteNote->text().isEmpty()
                   ? QStringLiteral("Choose a site first: click the map with the Zorvel tool.")
                   : lblSiteNote->text();
    if (badInputs) return txtMessages->toPlainText();
    return {};
}

void frmZORVEL::showMessages(bool show) { messagesOrTable_->setCurrentIndex(show ? 0 : 1); }

void frmZORVEL::cmdCloseWindow_Click() {
    bStop = true;
    if (summary_)
        summary_->hide();
    hide();
}

bool frmZORVEL::event(QEvent* e) {
    const bool handled = QWidget::event(e);
    if (e->type() == QEvent::LayoutRequest || e->type() == QEvent::Resize) fitWrappedText();
    return handled;
}

// A window does not grow by itself for text that wraps into more lines (a larger font, a
// narrower window, a longer description): its least height follows the height its layout needs
// at its width.
void frmZORVEL::fitWrappedText() {
    const int needed =
        std::max(layout()->totalMinimumSize().height(), layout()->totalHeightForWidth(width()));
    if (needed != minimumHeight()) setMinimumHeight(needed);
}

void frmZORVEL::closeEvent(QCloseEvent* e) {
    // Closed by the user it is only hidden, keeping its inputs and site; it goes with the
    // program.
    cmdCloseWindow_Click();
    e->ignore();
}

bool frmZORVEL::eventFilter(QObject* watched, QEvent* e) {
    if (watched == &main_ && e->type() == QEvent::Close)
        bStop = true;
    return QWidget::eventFilter(watched, e);
}
