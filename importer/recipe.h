#pragma once
// The choices of one import, as given on the command line, in a recipe file or in the dialog.
// Every choice is named as its command-line option (without the dashes).

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <vector>

namespace importer {

enum class OptionKind { File, Pattern, Text, Number, Choice, Flag };

struct OptionInfo {
    QString key;
    OptionKind kind;
    QString valueName;  // in --help
    QString help;
    QString choices;  // "daily|yearly" for a choice
};

// Every option, in --help order.
const std::vector<OptionInfo>& allOptions();
const OptionInfo* findOption(const QString& key);

// The vector layers a user can give, each a catalogue file and the key of its option.
struct VectorKind {
    const char* key;     // "roads"; its filter is key + "-where"
    const char* file;    // "43_roads"
    int shapeType;       // engine::moShapeType...
    QStringList fields;  // catalogue fields beside NAME
};
const std::vector<VectorKind>& vectorKinds();

class Recipe {
  public:
    QString outDir;
    QVariantMap values;  // key -> QString, double or bool

    QString text(const QString& key) const { return values.value(key).toString(); }
    bool has(const QString& key) const { return !text(key).isEmpty(); }
    double number(const QString& key, double fallback) const;
    bool flag(const QString& key) const { return values.value(key).toBool(); }

    // Sets one choice from its text, checked against its kind. Throws ImportError.
    void set(const QString& key, const QString& value);

    // Reads a recipe file; relative paths in it are taken from the recipe's folder. Throws
    // ImportError naming the key at fault.
    static Recipe fromJsonFile(const QString& path);
    // The choices as a recipe file's text, with absolute paths.
    QByteArray toJson() const;
    // Everything the import needs before it touches a file. Throws ImportError.
    void checkComplete() const;
};

}  // namespace importer
