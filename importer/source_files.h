#pragma once
// What the import reads must be a plain file: a FIFO, a device or a folder named like a file
// would hang or flood the reader. Side files that GDAL reads with a source are checked too.

#include <QString>
#include <limits>

namespace importer {

// Side files such as .prj, .cpg or .aux.xml are small; anything larger is refused.
constexpr qint64 kMaxSideFileBytes = 1 << 20;

// Throws ImportError naming `what` and the path unless path is a readable regular file of at
// most maxBytes, and every side file beside it (same base name) is a regular file, the text
// ones within kMaxSideFileBytes.
void checkSourceFile(const QString& path, const QString& what,
                     qint64 maxBytes = std::numeric_limits<qint64>::max());

}  // namespace importer
