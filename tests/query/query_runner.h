#pragma once
// Runs pallix-query, which the build puts beside the test program.

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

namespace querytest {

struct RunnerOutcome {
    int code = -1;
    QString out, err;
};

inline RunnerOutcome runQuery(const QStringList& args) {
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + "/pallix-query", args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace querytest
