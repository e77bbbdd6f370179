// pallix-import: turns public rasters and vectors into a Pallix dataset folder.
#include <signal.h>

#include <QCoreApplication>
#include <QDir>
#include <csignal>
#include <cstdio>

#include "importer/import_error.h"
#include "importer/importer.h"
#include "importer/recipe.h"

namespace {

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void onStopSignal(int signal) { stopSignal = signal; }

// SIGINT, SIGTERM and SIGHUP cancel the import at its next step, so that the work folder is
// removed and OUT_DIR stays as it was; a second one ends the program at once.
void cancelOnStopSignals() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

void print(FILE* to, const QString& text) {
    std::fprintf(to, "%s\n", text.toLocal8Bit().constData());
}

QString usage() {
    QString text =
        "usage: pallix-import OUT_DIR --boundary FILE [options]\n"
        "       pallix-import --recipe FILE.json [OUT_DIR] [options]\n"
        "\n"
        "Builds a Pallix dataset in OUT_DIR from public rasters (GeoTIFF or any raster GDAL reads, "
        "any\n"
        "coordinate system) and vector files (shapefile, GeoPackage, GeoJSON, ...). Rasters "
        "become\n"
        "grids of square cells whose value is the area-weighted mean of the pixels each covers "
        "(land\n"
        "cover: the class covering most of it), clipped to the study area; vectors are "
        "reprojected,\n"
        "clipped and their NAME and other fields mapped. import-report.txt in OUT_DIR tells what "
        "was\n"
        "read and written. The dataset is written beside OUT_DIR and renamed into place at the "
        "end.\n"
        "\n"
        "options:\n";
    for (const importer::OptionInfo& s : importer::allOptions()) {
        QString left = "  --" + s.key + (s.valueName.isEmpty() ? QString() : " " + s.valueName);
        text += left.leftJustified(36) + (left.size() >= 36 ? "\n" + QString(36, ' ') : QString()) +
                s.help + "\n";
    }
    text += QString("  --recipe FILE.json").leftJustified(36) +
            "the choices as a JSON object keyed by these option names (without dashes),\n" +
            QString(36, ' ') +
            "plus \"out\"; relative paths are taken from the recipe's folder; options\n" +
            QString(36, ' ') + "given on the command line win\n";
    text += QString("  --help").leftJustified(36) + "this text\n";
    text +=
        "\n"
        "Exit status: 0 done, 1 the import failed (the reason on standard error; OUT_DIR is left "
        "as\n"
        "it was), 2 bad arguments.\n";
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    importer::Recipe recipe;
    QString outDir;
    try {
        // The recipe first, wherever it stands, so the command line overrides it.
        for (int i = 1; i < args.size(); ++i) {
            if (args[i] == "--help" || args[i] == "-h") {
                print(stdout, usage());
                return 0;
            }
            if (args[i] == "--recipe") {
                if (i + 1 >= args.size()) throw importer::ImportError("--recipe needs a file");
                recipe = importer::Recipe::fromJsonFile(args[++i]);
            }
        }
        for (int i = 1; i < args.size(); ++i) {
            const QString a = args[i];
            if (a == "--recipe") {
                ++i;
                continue;
            }
            if (!a.startsWith("--")) {
                if (!outDir.isEmpty())
                    throw importer::ImportError("more than one OUT_DIR: " + a.toStdString());
                outDir = a;
                continue;
            }
            const QString key = a.mid(2);
            const importer::OptionInfo* option = importer::findOption(key);
            if (!option)
                throw importer::ImportError("unknown option " + a.toStdString() + " (see --help)");
            if (option->kind == importer::OptionKind::Flag) {
                recipe.set(key, "true");
                continue;
            }
            if (i + 1 >= args.size())
                throw importer::ImportError(a.toStdString() + " needs a value");
            recipe.set(key, args[++i]);
        }
    } catch (const importer::ImportError& e) {
        print(stderr, QString("pallix-import: ") + e.what());
        return 2;
    }
    if (!outDir.isEmpty()) recipe.outDir = outDir;
    try {
        recipe.checkComplete();
    } catch (const importer::ImportError& e) {
        print(stderr, QString("pallix-import: ") + e.what() + " (see --help)");
        return 2;
    }

    QString lastStep;
    cancelOnStopSignals();
    try {
        const importer::ImportResult result =
            importer::runImport(recipe, [&](double, const QString& step) {
                if (step != lastStep) print(stderr, step + "...");
                lastStep = step;
                return stopSignal == 0;
            });
        for (const QString& w : result.warnings) print(stderr, "warning: " + w);
        print(stdout, "Dataset written to " + QDir::toNativeSeparators(result.datasetDir) + " (" +
                          QString::number(result.warnings.size()) + " warnings; see " +
                          importer::kReportFile + ")");
        return 0;
    } catch (const std::exception& e) {  // an ImportError, or the machine out of memory
        print(stderr, QString("pallix-import: ") + e.what());
        return 1;
    }
}
