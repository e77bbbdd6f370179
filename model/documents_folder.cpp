#include "model/documents_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace model {

const QStringList kTemplateFiles = {"Small_village_Pallix.zvx", "Medium_village_Pallix.zvx",
                                    "Large_village_Pallix.zvx"};

namespace {

const QString kFolderName = QStringLiteral("ZORVEL_docs");

// Permission bits do not tell (a read-only mount, or running as root): try to write a file.
bool canWriteIn(const QString& dir) {
    if (!QFileInfo(dir).isDir())
        return false;
    QTemporaryFile probe(QDir(dir).filePath(QStringLiteral("write_test_XXXXXX")));
    return probe.open();
}

}  // namespace

QString DocumentsFolder(const QString& programDir, const QString& userDataDir) {
    const QString shipped = QDir(programDir).filePath(kFolderName);
    if (canWriteIn(shipped))
        return QDir::toNativeSeparators(shipped + "/");

    const QString own = QDir(userDataDir).filePath(kFolderName);
    QDir().mkpath(own);
    for (const QString& name : kTemplateFiles) {
        const QString target = QDir(own).filePath(name);
        if (!QFileInfo::exists(target))
            QFile::copy(QDir(shipped).filePath(name), target);
    }
    return QDir::toNativeSeparators(own + "/");
}

QString DocumentsFolder() {
    return DocumentsFolder(QCoreApplication::applicationDirPath(),
                           QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

}  // namespace model
