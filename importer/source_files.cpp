#include "importer/source_files.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "importer/import_error.h"

namespace importer {

namespace {

// Files GDAL may open beside a raster or a vector source; the text ones are read whole.
const char* const kTextSides[] = {"prj",   "cpg", "qpj", "aux.xml", "tfw", "tifw",
                                  "tiffw", "wld", "xml", "imd",     "rpb", "ovr.aux.xml"};
const char* const kDataSides[] = {"shx", "dbf", "ovr", "msk", "sbn", "sbx", "qix"};

[[noreturn]] void refuse(const QString& what, const QString& path, const QString& why) {
    throw ImportError((what + " " + QDir::toNativeSeparators(path) + " " + why).toStdString());
}

// Follows links: what matters is the file that would be read.
void checkRegular(const QString& what, const QString& path, qint64 maxBytes) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) refuse(what, path, "does not exist");
    if (S_ISDIR(st.st_mode)) refuse(what, path, "is a folder, not a file");
    if (!S_ISREG(st.st_mode))
        refuse(what, path, "is not a regular file (a pipe, device or socket)");
    if (st.st_size > maxBytes)
        refuse(
            what, path,
            QString("is too large (%1 bytes; at most %2 are read)").arg(st.st_size).arg(maxBytes));
}

}  // namespace

void checkSourceFile(const QString& path, const QString& what, qint64 maxBytes) {
    if (path.isEmpty()) throw ImportError((what + ": no file given").toStdString());
    checkRegular(what, path, maxBytes);
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        refuse(what, path, "cannot be read: " + probe.errorString());
    probe.close();

    const QFileInfo info(path);
    const QDir dir = info.absoluteDir();
    // Side files are named after the whole name (x.tif.aux.xml) or the base name (x.prj).
    const QStringList stems = {info.fileName(), info.completeBaseName()};
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        for (const QString& stem : stems) {
            if (!entry.startsWith(stem + '.', Qt::CaseInsensitive)) continue;
            const QString ext = entry.mid(stem.size() + 1).toLower();
            const QString side = dir.filePath(entry);
            for (const char* t : kTextSides)
                if (ext == QLatin1String(t))
                    checkRegular(what + " side file", side, kMaxSideFileBytes);
            for (const char* d : kDataSides)
                if (ext == QLatin1String(d))
                    checkRegular(what + " side file", side, std::numeric_limits<qint64>::max());
        }
    }
}

}  // namespace importer
