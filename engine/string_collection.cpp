#include "engine/string_collection.h"

namespace engine {

void StringCollection::add(const QString& s) {
    if (seen_.contains(s)) return;
    seen_.insert(s, int(items_.size()));
    items_.append(s);
}

}  // namespace engine
