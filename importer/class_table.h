#pragma once
// Land-cover class codes and their names, in capitals as the land-use layer holds them.

#include <QString>
#include <map>

namespace importer {

class ClassTable {
  public:
    // ESA WorldCover: 10 TREE COVER ... 100 MOSS AND LICHEN.
    static ClassTable worldCover();
    // A CSV file read through OGR: columns "code" and "name" (else the first two columns).
    // Throws ImportError.
    static ClassTable fromCsv(const QString& path);
    // "worldcover" or a CSV path.
    static ClassTable fromChoice(const QString& choice);

    bool has(long long code) const { return names_.count(code) > 0; }
    QString name(long long code) const;
    QString source() const { return source_; }
    const std::map<long long, QString>& names() const { return names_; }

  private:
    std::map<long long, QString> names_;
    QString source_;
};

}  // namespace importer
