// pallix-query: runs one siting query on a dataset directory with the program's siting study, no
// window and no display, and prints the "Query Results" rows as CSV.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <atomic>
#include <cstdio>
#include <memory>
#include <optional>

#include "dataset/catalogue.h"
#include "dataset/dataset_loading.h"
#include "feedback/dialog_service.h"
#include "feedback/failure_text.h"
#include "siting/input_validation.h"
#include "siting/query_defaults.h"
#include "siting/query_descriptors.h"
#include "siting/result_file.h"
#include "siting/result_set.h"
#include "siting/run_feedback.h"
#include "siting/study.h"

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
        if (a == "--min")
            slot = &o.min;
        else if (a == "--max")
            slot = &o.max;
        else if (a == "--roads-km")
            slot = &o.roadsKm;
        else if (a == "--transmission-km")
            slot = &o.transmissionKm;
        else if (a == "--solar")
            slot = &o.solar;
        else if (a == "--out")
            slot = &o.out;
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

// What a run tells: progress goes nowhere, questions are answered Yes, a failure is kept.
class Feedback : public siting::RunFeedback {
  public:
    std::optional<QString> failed;
    void caption(const QString&, bool) override {}
    void flushCaption() override {}
    void yield() override {}
    void layersChanged() override {}
    bool confirm(const QString&) override { return true; }
    void inform(const QString&) override {}
    void failure(const QString& text) override { failed = feedback::FailureText(text); }
};

// The first error report shown since `from`, if any.
std::optional<QString> errorReport(const feedback::ScriptedDialogs& d, qsizetype from) {
    for (qsizetype i = from; i < d.shown.size(); ++i)
        if (d.shown[i].icon == feedback::iconWarning) return d.shown[i].text;
    return std::nullopt;
}

int run(const Options& o) {
    // What the dataset code would show is recorded, not shown.
    auto owned = std::make_unique<feedback::ScriptedDialogs>();
    feedback::ScriptedDialogs& dialogs = *owned;
    feedback::setDialogService(std::move(owned));
    md_functions::FillStandardFileNames();

    const QStringList files =
        QDir(o.dataset).entryList({"*.shp"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    if (files.isEmpty()) return fail("No shapefile in " + o.dataset, 2);
    md_functions::DatasetState& dataset = md_functions::datasetState();
    dataset.dataDirectory =
        QDir::toNativeSeparators(QDir(o.dataset).absolutePath()) + QDir::separator();
    engine::DataConnection connection;
    connection.setDatabase(dataset.dataDirectory);
    if (!connection.connect())
        return fail("No data found... Data Connection error #" +
                    QString::number(connection.connectError()));
    auto layers = std::make_unique<siting::LayerList>();
    QStringList problems, notes;
    try {
        md_functions::OpenLayers(connection, dataset.dataDirectory, problems, notes,
                                 [&](std::shared_ptr<engine::MapLayer> l) { layers->add(l); });
    } catch (...) {
        return fail(feedback::FailureText(
            "Error while loading the project. Error Source:md_functions.LoadProject()"));
    }
    if (auto e = errorReport(dialogs, 0)) return fail(*e);
    // Skipped files and features left out are told, and the query runs on what was loaded.
    const QString loadReport = md_functions::LoadReportText(problems, notes);
    if (!loadReport.isEmpty()) std::fprintf(stderr, "%s\n", loadReport.toLocal8Bit().constData());
    siting::Study study(std::move(layers));

    const siting::QueryDescriptor* query = siting::FindQuery(o.query);
    if (!query || query->name != o.query) return fail("No query named \"" + o.query + "\"", 2);
    QString message;
    if (!study.isAvailable(*query, {}, &message)) return fail(message);

    // The panel's defaults, then what was given.
    siting::ParameterInput input = siting::DefaultInput(study, *query);
    if (o.min) input.minimum = *o.min;
    if (o.max) input.maximum = *o.max;
    if (o.roadsKm && query->has(siting::Parameter::RoadsKm)) input.roadsKm = *o.roadsKm;
    if (o.transmissionKm && query->has(siting::Parameter::TransmissionKm))
        input.transmissionKm = *o.transmissionKm;
    QStringList landUses;
    try {
        if (query->has(siting::Parameter::LandUses)) landUses = siting::LandUses(study);
    } catch (const std::exception&) {
        // No land-use list to choose from.
    }
    for (const QString& use : o.landUses)
        if (!landUses.contains(use))
            return fail("No land use \"" + use + "\" in the land-use list", 2);
    // Chosen in the order of the list.
    for (const QString& use : landUses)
        if (o.landUses.contains(use) && !input.landUses.contains(use)) input.landUses << use;
    if (o.keepProtected) input.removeProtected = false;
    if (o.solar) {
        const QStringList offered = query->has(siting::Parameter::SolarResource)
                                        ? siting::OfferedSolarResources(study)
                                        : QStringList();
        if (!offered.contains(*o.solar)) return fail("No solar resource \"" + *o.solar + "\"", 2);
        input.solarResource = *o.solar;
    }

    siting::QueryParameters resource;
    resource.solarResource = input.solarResource;
    if (!study.isAvailable(*query, resource, &message)) return fail(message);
    const md_functions::InputCheck check = md_functions::CheckInputs(*query, input);
    if (!check.parameters) return fail(check.fault);
    Feedback feedback;
    const std::atomic<bool> cancel{false};
    study.run(*query, *check.parameters, feedback, cancel);
    if (feedback.failed) return fail(*feedback.failed);
    const siting::QueryResult& result = *study.result();
    // Areas left short, or resting on a guessed coordinate system, are said to be.
    if (const QString notice = study.runNotice(*query, *check.parameters); !notice.isEmpty())
        std::fprintf(stderr, "%s\n", notice.toLocal8Bit().constData());

    if (o.out) {
        // As "Save Result" does, with its confirmation answered Yes.
        if (result.entries.empty()) return fail("There is no query result to save.");
        try {
            siting::WriteResult(result, study.layers(), dataset.dataDirectory,
                                QFileInfo(*o.out).absoluteFilePath());
        } catch (...) {
            return fail(
                feedback::FailureText(" Error Source:md_query_functions2.SaveTrackingLayer()"));
        }
    }

    // As the results table: a class that cannot be described or measured is left out of its
    // words or its rows, not the run.
    std::vector<std::pair<engine::ColorNumber, double>> summary;
    try {
        summary = md_query_functions2::ClassSummary(result);
    } catch (const std::exception&) {
    }
    std::printf("class,colour,area_km2\n");
    for (int i = 0; i < int(summary.size()) && i < md_query_functions2::kResultRows; ++i) {
        QString description;
        try {
            description = md_query_functions2::ClassDescription(study, o.query, input.solarResource,
                                                                summary[i].first);
        } catch (const std::exception&) {
        }
        std::printf("%s,%d,%s\n", csvField(description).toUtf8().constData(), summary[i].first,
                    QString::number(summary[i].second, 'f', 6).toUtf8().constData());
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.contains("--help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    QString error;
    const auto options = parse(args, error);
    if (!options) return fail(error + "\n" + kUsage, 2);
    try {
        return run(*options);
    } catch (const std::exception& e) {
        return fail(QString::fromUtf8(e.what()));
    }
}
