#include "model/frmZORVEL.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "model/applications.h"
#include "model/conversions.h"
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

QLabel* label(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
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

// Pixel layout: the site label and resource grid on top, the inputs and buttons on the left,
// the message box on the right, lying over the results table that it hides until a run ends.
void frmZORVEL::createControls() {
    setFixedSize(880, 470);

    lblPallixData = label(this, QStringLiteral("Pallix data"), {10, 8, 860, 20});
    QFont bold = lblPallixData->font();
    bold.setBold(true);
    lblPallixData->setFont(bold);

    const QStringList monthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul",
                                    "Aug", "Sep", "Oct", "Nov", "Dec", "Annual"};
    constexpr int kGridLeft = 150, kColumn = 54, kRowTop = 34, kRow = 20;
    lblSolarRowLabel = label(this, QStringLiteral("Solar (kWh/m2/day)"), {10, kRowTop + kRow, 135, 18});
    lblWindRowLabel = label(this, QStringLiteral("Wind (W/m2)"), {10, kRowTop + 2 * kRow, 135, 18});
    lblHydroRowLabel = label(this, QStringLiteral("Hydro"), {10, kRowTop + 3 * kRow, 135, 18});
    for (int i = 0; i < 13; ++i) {
        const int x = kGridLeft + i * kColumn;
        lblMonth[i] = label(this, monthNames[i], {x, kRowTop, kColumn - 2, 18});
        lblMonth[i]->setFont(bold);
        lblSolarResource[i] = label(this, {}, {x, kRowTop + kRow, kColumn - 2, 18});
        lblWindResource[i] = label(this, {}, {x, kRowTop + 2 * kRow, kColumn - 2, 18});
        lblHydroResource[i] = label(this, {}, {x, kRowTop + 3 * kRow, kColumn - 2, 18});
        for (QLabel* l : {lblMonth[i], lblSolarResource[i], lblWindResource[i], lblHydroResource[i]})
            l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    lblApplication = label(this, QStringLiteral("1) What application would you like to model?"),
                           {10, 126, 390, 18});
    cboZORVELApplication = new QComboBox(this);
    cboZORVELApplication->setGeometry(10, 146, 250, 26);
    lblApplicationInfo = label(this, {}, {10, 176, 390, 84});
    lblApplicationInfo->setWordWrap(true);
    lblApplicationInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    lblDieselFuelPrice = label(this, QStringLiteral("2) Diesel fuel price ($/liter):"), {10, 266, 300, 24});
    txtDieselFuelPrice = new QLineEdit(QStringLiteral("0.40"), this);
    txtDieselFuelPrice->setGeometry(320, 266, 70, 24);
    lblReliability = label(this,
                           QStringLiteral("3) Annual energy requirement that can be unserved (%):"),
                           {10, 296, 300, 36});
    lblReliability->setWordWrap(true);
    txtReliability = new QLineEdit(QStringLiteral("0"), this);
    txtReliability->setGeometry(320, 300, 70, 24);
    lblDiscountRate = label(this, QStringLiteral("4) Interest rate minus inflation (%):"), {10, 338, 300, 24});
    txtDiscountRate = new QLineEdit(QStringLiteral("5"), this);
    txtDiscountRate->setGeometry(320, 338, 70, 24);

    cmdRunZORVEL = new QPushButton(QStringLiteral("Start Zorvel"), this);
    cmdRunZORVEL->setGeometry(10, 380, 185, 32);
    cmdZORVEL_IR = new QPushButton(QStringLiteral("View Zorvel Input Summary"), this);
    cmdZORVEL_IR->setGeometry(205, 380, 195, 32);
    cmdLaunchZORVEL = new QPushButton(QStringLiteral("Open Zorvel File"), this);
    cmdLaunchZORVEL->setGeometry(10, 420, 185, 32);
    cmdCloseWindow = new QPushButton(QStringLiteral("Close Window"), this);
    cmdCloseWindow->setGeometry(205, 420, 195, 32);

    constexpr int kTableLeft = 415, kNpcLeft = 660, kDetailsLeft = 790, kTableTop = 148, kLine = 50;
    lblSystemTypeColHeading = label(this, QStringLiteral("System Type"), {kTableLeft, 126, 190, 18});
    lblNPCColHeading = label(this, QStringLiteral("Net Present Cost"), {kNpcLeft, 126, 190, 18});
    lblSystemTypeColHeading->setFont(bold);
    lblNPCColHeading->setFont(bold);
    for (int i = 0; i < 6; ++i) {
        const int y = kTableTop + i * kLine;
        lblSystemType[i] = label(this, {}, {kTableLeft, y, 238, kLine - 4});
        lblSystemType[i]->setWordWrap(true);
        lblSystemType[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        lblSystemNPC[i] = label(this, {}, {kNpcLeft, y, kFullBarWidth, 18});
        shpBar[i] = new QFrame(this);
        shpBar[i]->setGeometry(kNpcLeft, y + 22, kFullBarWidth, 16);
        shpBar[i]->setFrameShape(QFrame::Box);
        shpBar[i]->setAutoFillBackground(true);
        shpBar[i]->hide();
        cmdZORVEL_OR[i] = new QPushButton(QStringLiteral("Details..."), this);
        cmdZORVEL_OR[i]->setGeometry(kDetailsLeft, y + 6, 80, 28);
        cmdZORVEL_OR[i]->setEnabled(false);
        connect(cmdZORVEL_OR[i], &QPushButton::clicked, this, [this, i] { cmdZORVEL_OR_Click(i); });
    }

    txtMessages = new QPlainTextEdit(this);
    txtMessages->setGeometry(kTableLeft - 5, 122, 462, 330);
    txtMessages->setReadOnly(true);
    txtMessages->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);  // long lines wrap
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
    txtMessages->setVisible(true);
    for (QPushButton* b : cmdZORVEL_OR)
        b->setEnabled(false);
    const bool ready = site.complete && !bad;
    // A running calculation can always be stopped, whatever the user types meanwhile.
    cmdRunZORVEL->setEnabled(ready || running_);
    cmdZORVEL_IR->setEnabled(ready);
}

void frmZORVEL::cmdCloseWindow_Click() {
    bStop = true;
    if (summary_)
        summary_->hide();
    hide();
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
