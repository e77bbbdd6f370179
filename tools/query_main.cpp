// pallix-query: runs one siting query on a dataset directory through the program's own main
// window, offscreen, and prints the "Query Results" rows as CSV.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <cstdio>
#include <memory>
#include <optional>

#include "app/main_window_factory.h"
#include "dataset/dataset_loading.h"
#include "query/attach.h"
#include "query/frmShowQueryData.h"
#include "query/query_state.h"
#include "query/save_result.h"
#include "shell/dialog_service.h"
#include "shell/frmMain.h"

namespace {

const char* const kUsage =
    "usage: pallix-query DATASET_DIR \"QUERY NAME\" [options]\n"
    "\n"
    "Runs one query of the query list on the dataset in DATASET_DIR, as \"Update Map\" does,\n"
    "and prints the \"Query Results\" rows as CSV: class,colour,area_km2.\n"
    "\n"
    "QUERY NAME is an entry of the query list, exactly as listed:\n"
    "  \"Wind by Power Density\", \"Best wind - protected areas\", \"Best wind + land use\",\n"
    "  \"Best wind + roads\", \"Best wind + transmission\", \"Best wind (all)\",\n"
    "  \"Best Solar X kWh/m2/day\", \"No Query (Base Map)\"\n"
    "\n"
    "options (the panel's defaults apply to what is not given):\n"
    "  --min X               minimum wind power density (W/m2) or solar resource\n"
    "  --max Y               maximum; Max stands for 10000 in the wind queries\n"
    "  --roads-km D          distance from roads in km\n"
    "  --transmission-km D   distance from transmission lines in km\n"
    "  --land-use TEXT       a suitable land use (repeat for several)\n"
    "  --keep-protected      \"Best wind (all)\": do not remove protected areas\n"
    "  --solar \"DESCRIPTION\" the solar resource of the solar query\n"
    "  --out FILE[.shp]      save the result with \"Save Result\" (\".shp\" is added to a\n"
    "                        name without it)\n"
    "  --help                this text\n"
    "\n"
    "Confirmations are answered Yes. Files of the dataset that could not be used are listed on\n"
    "standard error and the query runs on the rest. Exit status: 0 done, 1 the query was\n"
    "refused or failed, or the result could not be saved (the message and its reason on\n"
    "standard error), 2 bad arguments.\n";

struct Options {
    QString dataset, query;
    std::optional<QString> min, max, roadsKm, transmissionKm, solar, out;
    QStringList landUses;
    bool keepProtected = false;
};

int fail(const QString& text, int code = 1) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    return code;
}

// Parses the arguments; an empty result with a message means bad arguments.
std::optional<Options> parse(const QStringList& args, QString& error) {
    Options o;
    QStringList positional;
    for (int i = 1; i < args.size(); ++i) {
        const QString a = args[i];
        auto next = [&]() -> std::optional<QString> {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return std::nullopt;
            }
            return args[++i];
        };
        std::optional<QString>* slot = nullptr;
        if (a == "--min") slot = &o.min;
        else if (a == "--max") slot = &o.max;
        else if (a == "--roads-km") slot = &o.roadsKm;
        else if (a == "--transmission-km") slot = &o.transmissionKm;
        else if (a == "--solar") slot = &o.solar;
        else if (a == "--out") slot = &o.out;
        if (slot) {
            *slot = next();
            if (!*slot) return std::nullopt;
        } else if (a == "--land-use") {
            const auto v = next();
            if (!v) return std::nullopt;
            o.landUses << *v;
        } else if (a == "--keep-protected") {
            o.keepProtected = true;
        } else if (a.startsWith("--")) {
            error = "unknown option " + a;
            return std::nullopt;
        } else {
            positional << a;
        }
    }
    if (positional.size() != 2) {
        error = "expected DATASET_DIR and \"QUERY NAME\"";
        return std::nullopt;
    }
    o.dataset = positional[0];
    o.query = positional[1];
    return o;
}

QString csvField(const QString& s) {
    if (!s.contains(',') && !s.contains('"')) return s;
    return '"' + QString(s).replace("\"", "\"\"") + '"';
}

// The text of the last error report shown since `from`, if any.
std::optional<QString> errorReport(const shell::ScriptedDialogs& d, qsizetype from) {
    for (qsizetype i = d.shown.size() - 1; i >= from; --i)
        if (d.shown[i].icon == shell::iconWarning) return d.shown[i].text;
    return std::nullopt;
}

int run(const Options& o) {
    auto owned = std::make_unique<shell::ScriptedDialogs>();
    shell::ScriptedDialogs& dialogs = *owned;
    shell::setDialogService(std::move(owned));

    const QStringList files =
        QDir(o.dataset).entryList({"*.shp"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    if (files.isEmpty()) return fail("No shapefile in " + o.dataset, 2);
    std::unique_ptr<frmMain> f = createMainWindow();
    const QString title = files.first();
    md_functions::LoadProject(title, QDir(o.dataset).absoluteFilePath(title), *f->Map1,
                              *f->legend);
    // Skipped files and features left out are told, and the query runs on what was loaded.
    const QString loadReport = md_functions::datasetState().loadReport;
    if (!loadReport.isEmpty()) std::fprintf(stderr, "%s\n", loadReport.toLocal8Bit().constData());
    for (const auto& shown : dialogs.shown)
        if (shown.icon == shell::iconWarning && shown.text != loadReport) return fail(shown.text);

    qsizetype mark = dialogs.shown.size();
    if (!query::chooseQuery(*f, o.query)) return fail("No query named \"" + o.query + "\"", 2);
    if (f->cboSelectQuery->currentIndex() > 0 && f->fraEditQueryParameters->title() != o.query)
        return fail(dialogs.shown.isEmpty() ? QString("The query was refused")
                                            : dialogs.shown.last().text);

    if (o.min) f->cboQueryDropDown->setEditText(*o.min);
    if (o.max) f->cboQueryDropDown2->setEditText(*o.max);
    if (o.query == "Best wind (all)") {
        if (o.transmissionKm) f->txtQuery1[1]->setText(*o.transmissionKm);
        if (o.roadsKm) f->txtQuery1[2]->setText(*o.roadsKm);
    } else if (o.query == "Best wind + roads" && o.roadsKm) {
        f->txtQuery1[2]->setText(*o.roadsKm);
    } else if (o.query == "Best wind + transmission" && o.transmissionKm) {
        f->txtQuery1[2]->setText(*o.transmissionKm);
    }
    for (const QString& use : o.landUses) {
        const auto items = f->lstQuery1->findItems(use, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (items.isEmpty()) return fail("No land use \"" + use + "\" in the land-use list", 2);
        items.first()->setSelected(true);
    }
    if (o.keepProtected) f->chkProtectedAreas->setChecked(false);
    if (o.solar && !query::chooseSolarResource(*f, *o.solar))
        return fail("No solar resource \"" + *o.solar + "\"", 2);

    mark = dialogs.shown.size();
    f->cmdUpdateMap->click();
    if (!md_query_functions2::queryState().cShapesExists)
        return fail(f->lblWorking->text().isEmpty() && !dialogs.shown.isEmpty()
                        ? dialogs.shown.last().text
                        : f->lblWorking->text());
    if (auto e = errorReport(dialogs, mark)) return fail(*e);
    // What the run told besides its result, such as a coordinate system taken as a guess.
    for (qsizetype i = mark; i < dialogs.shown.size(); ++i)
        std::fprintf(stderr, "%s\n", dialogs.shown[i].text.toLocal8Bit().constData());

    if (o.out) {
        mark = dialogs.shown.size();
        dialogs.saveFiles << QFileInfo(*o.out).absoluteFilePath();
        // The handler itself: the window greys the command out when there is nothing to save,
        // and that must be said here, not pass as a save.
        query::mnuSave_Click(*f);
        // A save that succeeds shows nothing but its confirmation; anything else says why not.
        for (qsizetype i = mark; i < dialogs.shown.size(); ++i)
            if (dialogs.shown[i].buttons != shell::mbYesNo) return fail(dialogs.shown[i].text);
    }

    frmShowQueryData& table = frmShowQueryData::of(*f);
    md_query_functions2::UpdateQueryDataForm(*f, table);
    const auto summary = md_query_functions2::ClassSummary();
    std::printf("class,colour,area_km2\n");
    for (int i = 0; i < int(summary.size()) && i < frmShowQueryData::kRows; ++i)
        std::printf("%s,%d,%s\n",
                    csvField(table.tblResults->item(i, frmShowQueryData::ClassColumn)->text())
                        .toUtf8()
                        .constData(),
                    summary[i].first,
                    QString::number(summary[i].second, 'f', 6).toUtf8().constData());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.contains("--help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    QString error;
    const auto options = parse(args, error);
    if (!options) return fail(error + "\n" + kUsage, 2);
    return run(*options);
}
