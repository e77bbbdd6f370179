#include "importer/frmImport.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "importer/import_error.h"
#include "importer/importer.h"
#include "importer/recipe.h"
#include "feedback/dialog_service.h"

namespace {

const char* const kSourceFilter =
    "Rasters and vector files (*.tif *.tiff *.vrt *.img *.nc *.shp *.gpkg *.geojson *.json "
    "*.kml);;All files (*)";

// A label that wraps instead of widening the window.
QLabel* note(const QString& text) {
    auto* l = new QLabel(text);
    l->setWordWrap(true);
    return l;
}

}  // namespace

frmImport::frmImport(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Import Dataset"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note(QStringLiteral(
        "Builds a dataset from public rasters and vector files in any coordinate system: rasters "
        "become grids of square cells (the area-weighted mean of the pixels each covers; land "
        "cover: "
        "the class covering most of it), clipped to the study area; vectors are reprojected and "
        "clipped. Leave out what you do not have.")));
    tabs = new QTabWidget(this);
    tabs->addTab(studyAreaTab(), QStringLiteral("Study Area and Output"));
    tabs->addTab(rastersTab(), QStringLiteral("Rasters"));
    tabs->addTab(vectorsTab(), QStringLiteral("Vectors"));
    layout->addWidget(tabs, 1);

    auto* recipes = new QHBoxLayout;
    cmdLoadRecipe = new QPushButton(QStringLiteral("Load Recipe..."), this);
    cmdSaveRecipe = new QPushButton(QStringLiteral("Save Recipe..."), this);
    recipes->addWidget(cmdLoadRecipe);
    recipes->addWidget(cmdSaveRecipe);
    recipes->addStretch(1);
    layout->addLayout(recipes);

    prgImport = new QProgressBar(this);
    prgImport->setRange(0, 1000);
    prgImport->setValue(0);
    prgImport->setTextVisible(false);
    layout->addWidget(prgImport);
    lblStatus = note(QStringLiteral("Choose the sources, then Import."));
    layout->addWidget(lblStatus);

    auto* buttons = new QDialogButtonBox(this);
    cmdImport = buttons->addButton(QStringLiteral("Import"), QDialogButtonBox::AcceptRole);
    cmdCancel = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    cmdImport->setDefault(true);
    layout->addWidget(buttons);

    // Wide enough for paths and filters at any font size.
    resize(std::max(sizeHint().width(), fontMetrics().averageCharWidth() * 110),
           sizeHint().height());

    connect(cmdImport, &QPushButton::clicked, this, &frmImport::cmdImport_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmImport::cmdCancel_Click);
    connect(cmdLoadRecipe, &QPushButton::clicked, this, &frmImport::cmdLoadRecipe_Click);
    connect(cmdSaveRecipe, &QPushButton::clicked, this, &frmImport::cmdSaveRecipe_Click);
}

QLineEdit* frmImport::textRow(QGridLayout* grid, int row, const QString& key, const QString& label,
                              const QString& placeholder) {
    auto* edit = new QLineEdit;
    edit->setPlaceholderText(placeholder);
    auto* l = new QLabel(label);
    l->setBuddy(edit);
    grid->addWidget(l, row, 0);
    grid->addWidget(edit, row, 1, 1, 2);
    txt[key] = edit;
    return edit;
}

QLineEdit* frmImport::fileRow(QGridLayout* grid, int row, const QString& key, const QString& label,
                              bool pattern) {
    QLineEdit* edit =
        textRow(grid, row, key, label,
                pattern ? QStringLiteral("a path with {MM} for 01 to 12") : QString());
    grid->removeWidget(edit);
    grid->addWidget(edit, row, 1);
    auto* browse = new QPushButton(QStringLiteral("Browse..."));
    grid->addWidget(browse, row, 2);
    connect(browse, &QPushButton::clicked, this, [this, edit, label, pattern] {
        const QString start =
            edit->text().isEmpty() ? QDir::homePath() : QFileInfo(edit->text()).absolutePath();
        QString file = feedback::dialogs().openFileName(this, label.chopped(label.endsWith(':')),
                                                     start, QString::fromLatin1(kSourceFilter));
        if (file.isEmpty()) return;
        // A monthly file picked for a pattern: its month number becomes {MM}.
        static const QRegularExpression month(R"((0[1-9]|1[0-2])(?!.*(0[1-9]|1[0-2])))");
        if (pattern) file.replace(file.lastIndexOf(month), 2, QStringLiteral("{MM}"));
        edit->setText(QDir::toNativeSeparators(file));
    });
    return edit;
}

QWidget* frmImport::studyAreaTab() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    int row = 0;
    QLineEdit* out = textRow(grid, row, QStringLiteral("out"), QStringLiteral("Dataset folder:"));
    grid->removeWidget(out);
    grid->addWidget(out, row, 1);
    auto* browseOut = new QPushButton(QStringLiteral("Browse..."));
    grid->addWidget(browseOut, row++, 2);
    connect(browseOut, &QPushButton::clicked, this, [this, out] {
        const QString dir =
            feedback::dialogs().saveFileName(this, QStringLiteral("Dataset Folder"), QDir::homePath(),
                                          QStringLiteral("Folders (*)"), QString());
        if (!dir.isEmpty()) out->setText(QDir::toNativeSeparators(dir));
    });
    chkOverwrite = new QCheckBox(QStringLiteral("Replace a dataset already in the folder"));
    grid->addWidget(chkOverwrite, row++, 1, 1, 2);
    fileRow(grid, row++, QStringLiteral("boundary"), QStringLiteral("Study area boundary:"));
    textRow(grid, row++, QStringLiteral("boundary-where"),
            QStringLiteral("Boundary filter (SQL WHERE):"),
            QStringLiteral("for example NAME = 'Kenya'"));
    fileRow(grid, row++, QStringLiteral("states"), QStringLiteral("State boundaries:"));
    textRow(grid, row++, QStringLiteral("states-where"),
            QStringLiteral("State filter (SQL WHERE):"));
    textRow(grid, row++, QStringLiteral("name-field"), QStringLiteral("State name field:"),
            QStringLiteral("found by itself when empty"));
    textRow(grid, row++, QStringLiteral("crs"), QStringLiteral("Coordinate system:"),
            QStringLiteral("utm, or EPSG:N in metres"));
    textRow(grid, row++, QStringLiteral("cell-km"), QStringLiteral("Cell size (km):"),
            QStringLiteral("5"));
    textRow(grid, row++, QStringLiteral("land-cover-km"),
            QStringLiteral("Land-cover cell size (km):"), QStringLiteral("the cell size"));
    textRow(grid, row++, QStringLiteral("elevation-km"),
            QStringLiteral("Elevation cell size (km):"), QStringLiteral("the cell size"));
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
    return page;
}

QWidget* frmImport::rastersTab() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    int row = 0;
    fileRow(grid, row++, QStringLiteral("wind-power-density"),
            QStringLiteral("Wind power density (W/m2):"));
    cboSolarUnits = new QComboBox;
    cboSolarUnits->addItem(QStringLiteral("kWh/m2/day"), QStringLiteral("daily"));
    cboSolarUnits->addItem(QStringLiteral("kWh/m2 per year (monthly rasters: per month)"),
                           QStringLiteral("yearly"));
    auto* units = new QLabel(QStringLiteral("Solar units:"));
    units->setBuddy(cboSolarUnits);
    grid->addWidget(units, row, 0);
    grid->addWidget(cboSolarUnits, row++, 1, 1, 2);
    const char* const solar[3][2] = {
        {"ghi", "Global horizontal"}, {"dni", "Direct normal"}, {"tilt", "Tilted (PV)"}};
    for (const auto& s : solar) {
        const QString key = QStringLiteral("solar-") + s[0];
        fileRow(grid, row++, key, QString("%1, annual:").arg(s[1]));
        fileRow(grid, row++, key + "-monthly", QString("%1, monthly:").arg(s[1]), true);
    }
    fileRow(grid, row++, QStringLiteral("land-cover"), QStringLiteral("Land cover:"));
    fileRow(grid, row++, QStringLiteral("land-cover-classes"),
            QStringLiteral("Land-cover classes:"))
        ->setPlaceholderText(QStringLiteral("worldcover, or a CSV of code,name"));
    fileRow(grid, row++, QStringLiteral("elevation"), QStringLiteral("Elevation (m):"));
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
    return page;
}

QWidget* frmImport::vectorsTab() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel(QStringLiteral("File")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Filter (SQL WHERE)")), 0, 3);
    const char* const labels[] = {
        "Roads:",  "Railways:",     "Transmission lines:", "Protected areas:", "Lakes:",
        "Rivers:", "Power plants:", "Airports:",           "Cities:"};
    int row = 1;
    for (const importer::VectorKind& v : importer::vectorKinds()) {
        fileRow(grid, row, v.key, QString::fromLatin1(labels[row - 1]));
        auto* where = new QLineEdit;
        where->setAccessibleName(QString::fromLatin1(labels[row - 1]).chopped(1) + " filter");
        grid->addWidget(where, row++, 3);
        txt[QString(v.key) + "-where"] = where;
    }
    txt[QStringLiteral("roads-where")]->setPlaceholderText(
        QStringLiteral("fclass IN ('primary','secondary')"));
    txt[QStringLiteral("transmission-where")]->setPlaceholderText(QStringLiteral("power = 'line'"));
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 2);
    grid->setRowStretch(row, 1);
    return page;
}

importer::Recipe frmImport::recipe() const {
    importer::Recipe r;
    r.outDir = txt.value(QStringLiteral("out"))->text().trimmed();
    for (auto it = txt.begin(); it != txt.end(); ++it) {
        const QString value = it.value()->text().trimmed();
        if (it.key() != "out" && !value.isEmpty()) r.set(it.key(), value);
    }
    r.set(QStringLiteral("solar-units"), cboSolarUnits->currentData().toString());
    if (chkOverwrite->isChecked()) r.set(QStringLiteral("overwrite"), QStringLiteral("true"));
    return r;
}

void frmImport::showRecipe(const importer::Recipe& r) {
    for (auto it = txt.begin(); it != txt.end(); ++it) {
        const importer::OptionInfo* option = importer::findOption(it.key());
        const bool path = !option || option->kind == importer::OptionKind::File ||
                          option->kind == importer::OptionKind::Pattern;
        const QString value = it.key() == "out" ? r.outDir : r.text(it.key());
        it.value()->setText(path ? QDir::toNativeSeparators(value) : value);
    }
    cboSolarUnits->setCurrentIndex(r.text(QStringLiteral("solar-units")) == "yearly" ? 1 : 0);
    chkOverwrite->setChecked(r.flag(QStringLiteral("overwrite")));
}

void frmImport::setRunning(bool running) {
    running_ = running;
    tabs->setEnabled(!running);
    cmdImport->setEnabled(!running);
    cmdLoadRecipe->setEnabled(!running);
    cmdSaveRecipe->setEnabled(!running);
    cmdCancel->setText(running ? QStringLiteral("Cancel") : QStringLiteral("Close"));
}

void frmImport::cmdImport_Click() {
    if (running_) return;
    importer::Recipe r;
    try {
        r = recipe();
    } catch (const importer::ImportError& e) {
        lblStatus->setText(QString::fromUtf8(e.what()));
        return;
    }
    cancelRequested_ = false;
    setRunning(true);
    prgImport->setValue(0);
    QElapsedTimer sinceEvents;
    try {
        const importer::ImportResult result =
            importer::runImport(r, [&](double fraction, const QString& step) {
                prgImport->setValue(int(fraction * 1000));
                lblStatus->setText(step + "...");
                // Window events (a Cancel press among them) a few times a second.
                if (!sinceEvents.isValid() || sinceEvents.elapsed() > 40) {
                    QCoreApplication::processEvents();
                    sinceEvents.restart();
                }
                return !cancelRequested_;
            });
        setRunning(false);
        prgImport->setValue(1000);
        lblStatus->setText(QString("Dataset written to %1 (%2 warnings; see %3).")
                               .arg(QDir::toNativeSeparators(result.datasetDir))
                               .arg(result.warnings.size())
                               .arg(importer::kReportFile));
        if (onImported) onImported(result.datasetDir);
        accept();
    } catch (const importer::ImportCancelled&) {
        setRunning(false);
        prgImport->setValue(0);
        lblStatus->setText(QStringLiteral("Import cancelled; nothing was written."));
    } catch (const std::exception& e) {
        setRunning(false);
        prgImport->setValue(0);
        lblStatus->setText(QStringLiteral("Import failed; nothing was written."));
        feedback::dialogs().messageBox("The import failed: " + QString::fromUtf8(e.what()),
                                    feedback::mbOKOnly, feedback::iconWarning);
    }
}

void frmImport::cmdCancel_Click() {
    if (running_)
        cancelRequested_ = true;
    else
        hide();
}

void frmImport::reject() { cmdCancel_Click(); }

void frmImport::closeEvent(QCloseEvent* e) {
    // Closing while an import runs cancels it; the window goes once the import has stopped.
    if (running_) {
        cancelRequested_ = true;
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

void frmImport::cmdLoadRecipe_Click() {
    const QString file = feedback::dialogs().openFileName(
        this, QStringLiteral("Load Recipe"), QDir::homePath(), QStringLiteral("Recipes (*.json)"));
    if (file.isEmpty()) return;
    try {
        showRecipe(importer::Recipe::fromJsonFile(file));
        lblStatus->setText("Recipe loaded from " + QDir::toNativeSeparators(file) + ".");
    } catch (const importer::ImportError& e) {
        feedback::dialogs().messageBox(QString::fromUtf8(e.what()), feedback::mbOKOnly,
                                    feedback::iconWarning);
    }
}

void frmImport::cmdSaveRecipe_Click() {
    importer::Recipe r;
    try {
        r = recipe();
    } catch (const importer::ImportError& e) {
        lblStatus->setText(QString::fromUtf8(e.what()));
        return;
    }
    const QString file =
        feedback::dialogs().saveFileName(this, QStringLiteral("Save Recipe"), QDir::homePath(),
                                      QStringLiteral("Recipes (*.json)"), QStringLiteral("json"));
    if (file.isEmpty()) return;
    const QByteArray bytes = r.toJson();
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        feedback::dialogs().messageBox(
            "Cannot save the recipe " + QDir::toNativeSeparators(file) + ": " + out.errorString(),
            feedback::mbOKOnly, feedback::iconWarning);
        return;
    }
    lblStatus->setText("Recipe saved to " + QDir::toNativeSeparators(file) + ".");
}
