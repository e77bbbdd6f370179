#include "importer/source_files.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

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

// A virtual raster or vector file names the files it reads: each must be a plain file too, or a
// FIFO behind it blocks the reader for ever.
void checkVirtualSources(const QString& path, const QString& what, int depth) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return;
    const QByteArray head = f.peek(256).trimmed();
    if (!head.startsWith("<VRTDataset") && !head.startsWith("<OGRVRTDataSource")) return;
    if (depth > 4) refuse(what, path, "nests virtual files too deeply");
    if (f.size() > kMaxSideFileBytes)
        refuse(what, path,
               QString("is a virtual file of more than %1 bytes").arg(kMaxSideFileBytes));
    QXmlStreamReader xml(&f);
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement()) continue;
        const QString tag = xml.name().toString();
        if (tag != "SourceFilename" && tag != "SrcDataSource") continue;
        const bool relative = xml.attributes().value("relativeToVRT") == QLatin1String("1") ||
                              xml.attributes().value("relativetoVRT") == QLatin1String("1");
        QString source = xml.readElementText().trimmed();
        if (source.startsWith("/vsi") || source.contains("://"))
            refuse(what, path, "reads " + source + ", which is not a plain file");
        if (relative || QFileInfo(source).isRelative())
            source = QFileInfo(path).absoluteDir().filePath(source);
        checkRegular(what + " (read by " + QFileInfo(path).fileName() + ")", source,
                     std::numeric_limits<qint64>::max());
        checkVirtualSources(source, what, depth + 1);
    }
}

}  // namespace

void checkSourceFile(const QString& path, const QString& what, qint64 maxBytes) {
    if (path.isEmpty()) throw ImportError((what + ": no file given").toStdString());
    checkRegular(what, path, maxBytes);
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        refuse(what, path, "cannot be read: " + probe.errorString());
    probe.close();
    checkVirtualSources(path, what, 0);

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
