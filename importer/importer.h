#pragma once
// One import: the sources of a recipe turned into a Pallix dataset folder.

#include <QString>
#include <QStringList>

#include "importer/progress.h"

namespace importer {

class Recipe;

struct ImportResult {
    QString datasetDir;
    QStringList warnings;
    QString report;  // the text of import-report.txt
};

// Checks every source first, then writes the dataset in a work folder and renames it into
// recipe.outDir. Throws ImportError (ImportCancelled when the listener cancels); OUT_DIR is
// then as it was.
ImportResult runImport(const Recipe& recipe, const Progress::Listener& listener = {});

// The file the dataset is opened by in the program.
inline const QString kOpeningFile = QStringLiteral("39_countryboundary.shp");
inline const QString kReportFile = QStringLiteral("import-report.txt");
inline const QString kRecipeFile = QStringLiteral("import-recipe.json");

}  // namespace importer
