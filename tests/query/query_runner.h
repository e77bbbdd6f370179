#pragma once
// Runs pallix-query, which the build puts beside the test program, with no display and no Qt
// platform named: it needs neither.

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace querytest {

struct RunnerOutcome {
    int code = -1;
    QString out, err;
};

inline RunnerOutcome runQuery(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) env.remove(name);
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationDirPath() + "/pallix-query", args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace querytest
