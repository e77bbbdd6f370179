#include "shell/frmSplash.h"

#include <QCheckBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>
#include <cstdlib>

#include "dataset/catalogue.h"
#include "feedback/dialog_service.h"
#include "feedback/error_report.h"
#include "shell/artwork.h"
#include "shell/frmShowLayersDialog.h"
#include "shell/version.h"

frmSplash::frmSplash(MainWindowLoader loadMainWindow, std::function<void()> endProgram,
                     LayerDialogLoader loadLayerDialog)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      loadMainWindow_(std::move(loadMainWindow)),
      endProgram_(std::move(endProgram)),
      loadLayerDialog_(std::move(loadLayerDialog)) {
    if (!endProgram_) endProgram_ = [] { std::_Exit(EXIT_SUCCESS); };
    if (!loadLayerDialog_)
        loadLayerDialog_ = [] { return new frmShowLayersDialog(md_functions::MAX_LAYERS); };

    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    fraSplash = new QFrame(this);
    fraSplash->setFrameShape(QFrame::Box);
    fraSplash->setLineWidth(2);
    layout->addWidget(fraSplash);

    auto* inner = new QVBoxLayout(fraSplash);
    inner->setContentsMargins(4, 4, 4, 4);
    imgSplash = new shell::LandscapePicture(QStringLiteral("Pallix"), fraSplash);
    inner->addWidget(imgSplash);

    // Along the foot of the picture: how to go on, and the version.
    auto* foot = new QVBoxLayout(imgSplash);
    foot->addStretch(1);
    auto* footRow = new QHBoxLayout;
    foot->addLayout(footRow);
    lblContinue = new QLabel(QStringLiteral("Click or press any key to continue"), imgSplash);
    lblVersion = new QLabel(QStringLiteral("Version Information"), imgSplash);
    QFont bold;
    bold.setBold(true);
    for (QLabel* label : {lblContinue, lblVersion}) {
        label->setFont(bold);
        label->setStyleSheet(QStringLiteral("color: white;"));
        label->installEventFilter(this);
    }
    footRow->addWidget(lblContinue);
    footRow->addStretch(1);
    footRow->addWidget(lblVersion);

    fraSplash->installEventFilter(this);
    connect(imgSplash, &shell::LandscapePicture::clicked, this, &frmSplash::Form_Unload);

    // A landscape of about 5:3, sized to the font so the foot line always fits.
    const int line = fontMetrics().height();
    resize(QSize(30 * line, 18 * line).expandedTo(minimumSizeHint()));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

frmSplash::~frmSplash() = default;

void frmSplash::Form_Load() {
    md_functions::reportingFailure(
        QStringLiteral(" Error while loading splash screen. Error Source:frmSplash.Form_Load()"),
        [&] {
            lblVersion->setText(shell::versionText());

            main_ = loadMainWindow_();
            frmShowLayersDialog* dialog = loadLayerDialog_();
            const int boxes = int(dialog->chkShowLayers.size());
            if (main_)
                main_->setLayerDialog(dialog);
            else
                delete dialog;
            if (boxes < md_functions::MAX_LAYERS) {
                feedback::dialogs().messageBox(QStringLiteral(
                    "Warning: MAX_LAYERS changed but frmShowLayersDialog.chkShowLayers "
                    "not updated.  Ending program."));
                ended_ = true;
                endProgram_();
            }
        });
}

void frmSplash::Form_Unload() {
    if (dismissed_ || ended_) return;
    dismissed_ = true;
    hide();
    if (main_) main_->show();
}

void frmSplash::keyPressEvent(QKeyEvent* e) {
    e->accept();
    Form_Unload();
}

bool frmSplash::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonPress &&
        (watched == fraSplash || watched == lblVersion || watched == lblContinue)) {
        Form_Unload();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}
