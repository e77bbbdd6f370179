#pragma once
#include <QHash>
#include <QString>
#include <QStringList>

namespace engine {

// A list of texts that keeps each text once, in the order first added.
class StringCollection {
public:
    void add(const QString& s);
    int count() const { return int(items_.size()); }
    QString item(int i) const { return items_.at(i); }
    const QStringList& items() const { return items_; }

private:
    QStringList items_;
    QHash<QString, int> seen_;
};

}  // namespace engine
