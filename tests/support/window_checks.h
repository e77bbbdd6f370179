#pragma once
// Shared by the window tests: the sample dataset the build puts beside the programs, and the
// layout check of a shown window at the desktop's font and at one and a half times it.

#include <QCoreApplication>
#include <QDir>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <string>

#include "tests/support/layout_check.h"

namespace testsupport {

// A shapefile of the sample dataset beside the test programs.
inline QString sampleDatasetFile(const QString& name = QStringLiteral("20_wind.shp")) {
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral("sample_dataset/") + name);
}

// The layout problems of a shown window at both font sizes, a line each, marked with the scale;
// empty when the window reads well at both.
inline std::string problemsAtBothFontSizes(QWidget& window) {
    QStringList problems;
    for (double scale : {1.0, 1.5}) {
        ScopedFontScale font(scale);
        // The font change and the layouts it asks for are handled through posted events.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        for (const QString& p : layoutProblems(&window))
            problems << QStringLiteral("at %1x: ").arg(scale) + p;
    }
    return problems.join(QLatin1Char('\n')).toStdString();
}

}  // namespace testsupport
