#include "importer/output_folder.h"

#include <fcntl.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "importer/import_error.h"

namespace importer {

namespace {

const char* const kDatasetExtensions[] = {"shp", "shx", "dbf", "prj", "cpg", "qix", "sbn", "sbx"};
const char* const kDatasetFiles[] = {"import-report.txt", "import-recipe.json"};

bool isDatasetFile(const QFileInfo& f) {
    if (!f.isFile() || f.isSymLink()) return false;
    for (const char* name : kDatasetFiles)
        if (f.fileName() == QLatin1String(name)) return true;
    const QString suffix = f.suffix().toLower();
    for (const char* ext : kDatasetExtensions)
        if (suffix == QLatin1String(ext)) return true;
    return false;
}

QString native(const QString& p) { return QDir::toNativeSeparators(p); }

int renameExchange(const QByteArray& a, const QByteArray& b) {
    return renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_EXCHANGE);
}

}  // namespace

OutputFolder::OutputFolder(const QString& outDir, bool overwrite)
    : final_(QDir::cleanPath(QDir().absoluteFilePath(outDir))), overwrite_(overwrite) {
    if (outDir.trimmed().isEmpty()) throw ImportError("no output folder given");
    checkTarget();
    const QFileInfo info(final_);
    if (!QDir().mkpath(info.absolutePath()))
        throw ImportError(
            ("cannot create the folder " + native(info.absolutePath())).toStdString());
    QTemporaryDir tmp(info.absolutePath() + "/." + info.fileName() + ".importing-XXXXXX");
    if (!tmp.isValid())
        throw ImportError(
            ("cannot create a work folder beside " + native(final_) + ": " + tmp.errorString())
                .toStdString());
    tmp.setAutoRemove(false);
    work_ = tmp.path();
}

OutputFolder::~OutputFolder() {
    if (!committed_ && !work_.isEmpty()) QDir(work_).removeRecursively();
}

void OutputFolder::checkTarget() const {
    const QFileInfo info(final_);
    if (!info.exists()) return;
    if (!info.isDir() || info.isSymLink())
        throw ImportError(
            ("the output " + native(final_) + " exists and is not a folder").toStdString());
    const QFileInfoList entries = QDir(final_).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                             QDir::System | QDir::NoDotAndDotDot);
    if (entries.isEmpty()) return;
    bool hasShapefile = false;
    for (const QFileInfo& e : entries) {
        if (!isDatasetFile(e))
            throw ImportError(("the output folder " + native(final_) + " holds " + e.fileName() +
                               ", which is not part of a dataset; choose a new or empty folder")
                                  .toStdString());
        hasShapefile = hasShapefile || e.suffix().compare("shp", Qt::CaseInsensitive) == 0;
    }
    if (!overwrite_)
        throw ImportError(("the output folder " + native(final_) +
                           (hasShapefile ? " already holds a dataset" : " is not empty") +
                           "; give --overwrite to replace it")
                              .toStdString());
}

void OutputFolder::commit() {
    checkTarget();  // again: something may have appeared while the import ran
    const QByteArray from = QFile::encodeName(work_), to = QFile::encodeName(final_);
    const QFileInfo target(final_);
    const bool replacing = target.exists() && !QDir(final_).isEmpty();
    if (!replacing) {
        // rename() takes the place of a missing or empty folder in one step.
        if (std::rename(from.constData(), to.constData()) != 0)
            throw ImportError(
                ("cannot move the new dataset to " + native(final_) + ": " + std::strerror(errno))
                    .toStdString());
        committed_ = true;
        return;
    }
    if (renameExchange(from, to) == 0) {
        committed_ = true;
        QDir(work_).removeRecursively();  // now the old dataset
        return;
    }
    if (errno != EINVAL && errno != ENOSYS)
        throw ImportError(("cannot put the new dataset in place of " + native(final_) + ": " +
                           std::strerror(errno))
                              .toStdString());
    // No atomic exchange on this file system: old aside, new in, and back on failure.
    const QByteArray aside = QFile::encodeName(work_ + ".old");
    if (std::rename(to.constData(), aside.constData()) != 0)
        throw ImportError(
            ("cannot move the old dataset aside: " + QString(std::strerror(errno))).toStdString());
    if (std::rename(from.constData(), to.constData()) != 0) {
        const QString why = std::strerror(errno);
        std::rename(aside.constData(), to.constData());
        throw ImportError(
            ("cannot move the new dataset to " + native(final_) + ": " + why).toStdString());
    }
    committed_ = true;
    QDir(QFile::decodeName(aside)).removeRecursively();
}

}  // namespace importer
