#include "engine/shapefile_commit.h"

#include <signal.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <filesystem>
#include <map>
#include <utility>
#include <vector>

#include "engine/types.h"

namespace engine {

namespace {

namespace fs = std::filesystem;
using Moves = std::vector<std::pair<QString, QString>>;  // (temporary, final) names

fs::path native(const QString& path) { return fs::path(QFile::encodeName(path).toStdString()); }

bool present(const QString& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(native(path), ec));
}

// Renames within the directory; the reason in words when it fails, else an empty text.
QString move(const QString& directory, const QString& from, const QString& to) {
    std::error_code ec;
    fs::rename(native(directory + '/' + from), native(directory + '/' + to), ec);
    return ec ? QString::fromStdString(ec.message()) : QString();
}

QString backupOf(const QString& tag, const QString& finalName) {
    return tag + ".backup." + QFileInfo(finalName).suffix();
}

// Undoes a commit: the new parts go back to their temporary names, the old parts come back from
// their backups. Safe to repeat after an interruption, because the journal exists only while
// every old part is aside: a final name listed there without its temporary file holds a new
// part. Returns the backups it could not put back.
QStringList undo(const QString& directory, const QString& base, const Moves& moves,
                 const QStringList& backups) {
    for (const auto& [temporary, final] : moves)
        if (!present(directory + '/' + temporary) && present(directory + '/' + final))
            move(directory, final, temporary);
    QStringList stuck;
    for (const QString& backup : backups)
        if (!move(directory, backup, base + '.' + QFileInfo(backup).suffix()).isEmpty())
            stuck << backup;
    return stuck;
}

void removeAll(const QString& directory, const QStringList& names) {
    for (const QString& name : names) QFile::remove(directory + '/' + name);
}

// Ends a failed commit. The temporary parts go only when every old part is back: until then they
// tell the next save that this commit did not finish.
[[noreturn]] void fail(const ShapefileTarget& t, const QString& what, const QStringList& stuck) {
    QString text = what;
    if (stuck.isEmpty())
        for (const char* ext : kWrittenParts) QFile::remove(t.path(t.temporary(ext)));
    else
        text += "; the old files could not all be put back and are kept as " + t.tag() +
                ".backup.*, which the next save into this folder restores";
    throw EngineError(text.toStdString());
}

bool processRuns(qint64 pid) { return ::kill(pid_t(pid), 0) == 0 || errno == EPERM; }

// "temporary<TAB>final" lines whose names are of this target's own naming; a line cut short by
// an interruption does not count.
Moves readJournal(const QString& directory, const QString& journal, const QString& tag,
                  const QString& base) {
    QFile file(directory + '/' + journal);
    Moves moves;
    if (!file.open(QIODevice::ReadOnly)) return moves;
    const QStringList lines = QString::fromUtf8(file.read(64 * 1024)).split('\n');
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {  // the last piece has no line end
        const QStringList names = lines[i].split('\t');
        if (names.size() != 2) continue;
        const QString ext = QFileInfo(names[1]).suffix().toLower();
        if (names[0] == tag + ".writing." + ext &&
            names[1].compare(base + '.' + ext, Qt::CaseInsensitive) == 0)
            moves.emplace_back(names[0], names[1]);
    }
    return moves;
}

}  // namespace

QString ShapefileTarget::final(const char* ext) const {
    if (qstrcmp(ext, "shp") == 0) return base + '.' + shpExtension;
    const bool upper = shpExtension == QLatin1String("SHP");
    const QString e = QString::fromLatin1(ext);
    return base + '.' + (upper ? e.toUpper() : e);
}

void commitShapefile(const ShapefileTarget& t) {
    const QString& dir = t.directory;
    Moves moves;
    for (const char* ext : kWrittenParts)
        if (present(t.path(t.temporary(ext)))) moves.emplace_back(t.temporary(ext), t.final(ext));

    // Every old part under the final names: none of them may describe the new content. (Parts
    // whose extensions differ in case belong to another file where names are case-sensitive.)
    QStringList old;
    for (const char* ext : kReplacedParts) {
        const QString name = t.final(ext);
        if (!present(t.path(name))) continue;
        std::error_code ec;
        const auto kind = fs::symlink_status(native(t.path(name)), ec).type();
        if (kind != fs::file_type::regular && kind != fs::file_type::symlink)
            fail(t, "cannot replace " + name + ": it is not a regular file", {});
        old << name;
    }

    QStringList backups;
    for (const QString& name : old) {
        if (const QString why = move(dir, name, backupOf(t.tag(), name)); !why.isEmpty())
            fail(t, "cannot replace " + name + ": " + why, undo(dir, t.base, {}, backups));
        backups << backupOf(t.tag(), name);
    }

    const QString journal = t.tag() + ".committing";
    {
        QFile file(t.path(journal));
        QByteArray text;
        for (const auto& [temporary, final] : moves)
            text += (temporary + '\t' + final + '\n').toUtf8();
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(text) != text.size() || !file.flush()) {
            const QString why = file.errorString();
            file.close();
            QFile::remove(t.path(journal));
            fail(t, "cannot write " + journal + ": " + why, undo(dir, t.base, {}, backups));
        }
    }

    for (const auto& [temporary, final] : moves) {
        if (const QString why = move(dir, temporary, final); !why.isEmpty()) {
            const QStringList stuck = undo(dir, t.base, moves, backups);
            if (stuck.isEmpty()) QFile::remove(t.path(journal));
            fail(t, "cannot move the new " + final + " into place: " + why, stuck);
        }
    }
    // Done: from here on the new file stands even if the process dies before the cleaning.
    QFile::remove(t.path(journal));
    removeAll(dir, backups);
}

void recoverInterruptedSaves(const QString& directory) {
    static const QRegularExpression own(
        QStringLiteral("^~(.+)\\.(\\d+)\\.(?:(writing|backup)\\.[A-Za-z]+|committing)$"));
    struct Leftovers {
        QStringList temporaries, backups;
        QString journal;
    };
    std::map<std::pair<QString, qint64>, Leftovers> saves;
    const QStringList names = QDir(directory).entryList(
        {QStringLiteral("~*")}, QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        const auto m = own.match(name);
        if (!m.hasMatch()) continue;
        bool ok = false;
        const qint64 pid = m.captured(2).toLongLong(&ok);
        if (!ok || pid == QCoreApplication::applicationPid() || processRuns(pid)) continue;
        Leftovers& l = saves[{m.captured(1), pid}];
        const QString kind = m.captured(3);
        if (kind == "writing") l.temporaries << name;
        if (kind == "backup") l.backups << name;
        if (kind.isEmpty()) l.journal = name;
    }
    for (auto& [key, l] : saves) {
        const auto& [base, pid] = key;
        const QString tag = '~' + base + '.' + QString::number(pid);
        if (l.journal.isEmpty() && l.temporaries.isEmpty()) {
            removeAll(directory, l.backups);  // the new file was complete
            continue;
        }
        const Moves moves =
            l.journal.isEmpty() ? Moves{} : readJournal(directory, l.journal, tag, base);
        if (!undo(directory, base, moves, l.backups).isEmpty()) continue;  // try again next time
        if (!l.journal.isEmpty()) QFile::remove(directory + '/' + l.journal);
        for (const auto& [temporary, final] : moves) QFile::remove(directory + '/' + temporary);
        removeAll(directory, l.temporaries);
    }
}

}  // namespace engine
