#include "importer/output_folder.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "importer/grid_layers.h"
#include "importer/import_error.h"
#include "importer/importer.h"
#include "importer/recipe.h"

namespace importer {

namespace {

QString native(const QString& p) { return QDir::toNativeSeparators(p); }

[[noreturn]] void refuse(const QString& text) { throw ImportError(text.toStdString()); }

int renameExchange(const QByteArray& a, const QByteArray& b) {
    return renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_EXCHANGE);
}

// The first bytes of a small regular file, or nothing when it is not one.
QByteArray head(const QString& path, qint64 bytes) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(bytes) : QByteArray();
}

// Removes the files an import writes from dir (by their names, never through a link), then dir
// itself; false when something else is left in it.
bool removeDataset(const QString& dir) {
    for (const QString& name : QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                                   QDir::NoDotAndDotDot)) {
        const QByteArray path = QFile::encodeName(dir + "/" + name);
        struct stat st {};
        if (OutputFolder::isWrittenByImport(name) && ::lstat(path.constData(), &st) == 0 &&
            S_ISREG(st.st_mode) && st.st_nlink == 1)
            ::unlink(path.constData());
    }
    return ::rmdir(QFile::encodeName(dir).constData()) == 0;
}

}  // namespace

bool OutputFolder::isWrittenByImport(const QString& fileName) {
    if (fileName == kReportFile || fileName == kRecipeFile) return true;
    const qsizetype dot = fileName.lastIndexOf('.');
    if (dot <= 0) return false;
    const QString ext = fileName.mid(dot + 1), base = fileName.left(dot);
    if (ext != "shp" && ext != "shx" && ext != "dbf" && ext != "prj" && ext != "cpg") return false;
    QStringList layers = {"39_countryboundary", "38_subcountrybnd1", "20_wind", "02_landuse",
                          "01_elevation"};
    for (const VectorKind& v : vectorKinds()) layers << v.file;
    for (const SolarKind& s : solarKinds()) layers << s.file;
    return layers.contains(base);
}

OutputFolder::OutputFolder(const QString& outDir, bool overwrite, const QStringList& sources)
    : final_(QDir::cleanPath(QDir().absoluteFilePath(outDir))),
      sources_(sources),
      overwrite_(overwrite) {
    if (outDir.trimmed().isEmpty()) throw ImportError("no output folder given");
    checkTarget();
    const QFileInfo info(final_);
    if (!QDir().mkpath(info.absolutePath()))
        refuse("cannot create the folder " + native(info.absolutePath()));
    removeStaleWorkFolders();
    // The work folder names its process, so that a later import knows when it was left behind.
    QTemporaryDir tmp(workPrefix() + QString::number(::getpid()) + "-XXXXXX");
    if (!tmp.isValid())
        refuse("cannot create a work folder beside " + native(final_) + ": " + tmp.errorString());
    tmp.setAutoRemove(false);
    work_ = tmp.path();
    // The dataset gets the permissions of any folder the user makes, not the work folder's 0700.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(work_).constData(), 0777 & ~mask);
}

QString OutputFolder::workPrefix() const {
    const QFileInfo info(final_);
    return info.absolutePath() + "/." + info.fileName() + ".importing-";
}

void OutputFolder::removeStaleWorkFolders() const {
    const QFileInfo prefix(workPrefix());
    const QDir parent = prefix.absoluteDir();
    for (const QString& name : parent.entryList({prefix.fileName() + "*"},
                                                QDir::Dirs | QDir::Hidden | QDir::NoSymLinks)) {
        bool ok = false;
        const qint64 pid = name.mid(prefix.fileName().size()).section('-', 0, 0).toLongLong(&ok);
        struct stat st {};
        if (!ok || pid <= 0 ||
            ::lstat(QFile::encodeName(parent.filePath(name)).constData(), &st) != 0 ||
            st.st_uid != ::getuid())
            continue;
        // Only when its process is gone: another import may be writing there right now.
        if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
            QDir(parent.filePath(name)).removeRecursively();
    }
}

OutputFolder::~OutputFolder() {
    if (!committed_ && !work_.isEmpty()) QDir(work_).removeRecursively();
}

void OutputFolder::checkTarget() const {
    const QFileInfo info(final_);
    // A source in OUT_DIR (or below it) would be gone with the old dataset.
    const QString target = info.exists() ? info.canonicalFilePath() : final_;
    for (const QString& source : sources_) {
        const QString folder = QFileInfo(QFileInfo(source).absolutePath()).canonicalFilePath();
        if (!folder.isEmpty() && (folder == target || folder.startsWith(target + "/")))
            refuse("the output folder " + native(final_) + " holds the source " + native(source) +
                   "; write the dataset to another folder");
    }
    if (!info.exists()) return;
    if (!info.isDir() || info.isSymLink())
        refuse("the output " + native(final_) + " exists and is not a folder");
    const QStringList names = QDir(final_).entryList(QDir::AllEntries | QDir::Hidden |
                                                     QDir::System | QDir::NoDotAndDotDot);
    if (names.isEmpty()) return;
    const QString choose = "; choose a new or empty folder";
    for (const QString& name : names) {
        struct stat st {};
        if (::lstat(QFile::encodeName(final_ + "/" + name).constData(), &st) != 0) continue;
        if (S_ISLNK(st.st_mode))
            refuse("the output folder " + native(final_) + " holds " + name +
                   ", a link to another file" + choose);
        if (!S_ISREG(st.st_mode) || !isWrittenByImport(name))
            refuse("the output folder " + native(final_) + " holds " + name +
                   ", which is not part of a dataset pallix-import wrote" + choose);
        if (st.st_nlink > 1)
            refuse("the output folder " + native(final_) + " holds " + name +
                   ", which has another name (a hard link) elsewhere" + choose);
    }
    // Only a folder whose report and recipe say this importer wrote it is a dataset to replace.
    const bool written =
        head(final_ + "/" + kReportFile, 64).startsWith("Pallix import report") &&
        QJsonDocument::fromJson(head(final_ + "/" + kRecipeFile, 1 << 20)).isObject();
    if (!written)
        refuse("the output folder " + native(final_) + " holds a dataset without the " +
               kReportFile + " and " + kRecipeFile + " of pallix-import" + choose);
    if (!overwrite_)
        refuse("the output folder " + native(final_) +
               " already holds a dataset; give --overwrite to replace it");
}

QString OutputFolder::commit() {
    checkTarget();  // again: something may have appeared while the import ran
    const QByteArray from = QFile::encodeName(work_), to = QFile::encodeName(final_);
    const QFileInfo target(final_);
    const bool replacing = target.exists() && !QDir(final_).isEmpty();
    if (!replacing) {
        // rename() takes the place of a missing or empty folder in one step.
        if (std::rename(from.constData(), to.constData()) != 0)
            refuse("cannot move the new dataset to " + native(final_) + ": " +
                   std::strerror(errno));
        committed_ = true;
        return {};
    }
    QString old = work_;  // where the old dataset ends up
    if (renameExchange(from, to) == 0) {
        committed_ = true;
    } else {
        if (errno != EINVAL && errno != ENOSYS)
            refuse("cannot put the new dataset in place of " + native(final_) + ": " +
                   std::strerror(errno));
        // No atomic exchange on this file system: old aside, new in, and back on failure.
        old = work_ + ".old";
        const QByteArray aside = QFile::encodeName(old);
        if (std::rename(to.constData(), aside.constData()) != 0)
            refuse("cannot move the old dataset aside: " + QString(std::strerror(errno)));
        if (std::rename(from.constData(), to.constData()) != 0) {
            const QString why = std::strerror(errno);
            std::rename(aside.constData(), to.constData());
            refuse("cannot move the new dataset to " + native(final_) + ": " + why);
        }
        committed_ = true;
    }
    if (removeDataset(old)) return {};
    // Something arrived in the old folder while it was replaced: keep it where it can be found.
    const QString kept =
        final_ + ".kept-" + QDateTime::currentDateTime().toString("yyyyMMdd-hhmmss");
    if (std::rename(QFile::encodeName(old).constData(), QFile::encodeName(kept).constData()) != 0)
        return "the replaced dataset's folder held other files; they are in " + native(old);
    return "the replaced dataset's folder held other files; they are in " + native(kept);
}

}  // namespace importer
