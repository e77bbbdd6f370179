#pragma once
// Engine internal: replacing the parts of a shapefile as a whole.
//
// A new shapefile is written as "~<name>.<pid>.writing.<ext>" beside its final name. The commit
// moves every old part aside to "~<name>.<pid>.backup.<ext>", writes the journal
// "~<name>.<pid>.committing" (one "temporary<TAB>final" line per new part), moves the new parts
// in, deletes the journal (the moment the save counts as done) and then the backups. A failure
// at any step puts the old parts back; a process killed part-way leaves files that the next save
// into the folder finds by their names and rolls back (or, past the journal, finishes).

#include <QString>

namespace engine {

// The parts a shapefile is written with, and those that describe an old content and must go
// when it is replaced.
inline constexpr const char* kWrittenParts[] = {"shp", "shx", "dbf", "prj", "cpg"};
inline constexpr const char* kReplacedParts[] = {"shp", "shx", "dbf", "prj",
                                                 "cpg", "qix", "sbn", "sbx"};

struct ShapefileTarget {
    QString directory;
    QString base;          // final name without ".shp"
    QString shpExtension;  // "shp" in the case the user gave it
    qint64 pid = 0;

    QString tag() const { return '~' + base + '.' + QString::number(pid); }
    QString temporary(const char* ext) const { return tag() + ".writing." + ext; }
    // The final name of a part: its extension in upper case when the user typed ".SHP".
    QString final(const char* ext) const;
    QString path(const QString& name) const { return directory + '/' + name; }
};

// Moves the finished temporary parts into place over the old ones. Throws EngineError with the
// reason when it cannot; the old parts are then as they were (or, if even putting them back
// failed, the message says where they are kept and the next save restores them).
void commitShapefile(const ShapefileTarget& target);

// Rolls back or finishes the saves of processes that no longer run, found by the names above,
// and removes their leftovers. Files of any other naming are never touched.
void recoverInterruptedSaves(const QString& directory);

}  // namespace engine
