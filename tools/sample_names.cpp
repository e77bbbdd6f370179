#include "tools/sample_names.h"

namespace tools {
namespace {

const char* const starts[] = {"ka", "lo", "ma", "ri", "to", "na", "be", "si", "du", "go", "ra", "te",
                              "mo", "ba", "za", "ni", "ku", "de", "wa", "le", "sa", "ho", "ti", "mu"};
const char* const middles[] = {"la", "ro", "ne", "ki", "sa", "mba", "nda", "li", "ru", "to", "ve", "di"};
const char* const ends[] = {"ra", "ni", "go", "mba", "le", "sso", "dar", "ka", "ton", "wen", "ma", "ri"};

template <size_t N>
const char* pick(SampleRandom& rnd, const char* const (&list)[N]) {
    return list[rnd.index(int(N))];
}

}  // namespace

QString NameMaker::next() {
    for (int tries = 0;; ++tries) {
        QString name = pick(rnd_, starts);
        if (rnd_.uniform() < 0.6) name += pick(rnd_, middles);
        name += pick(rnd_, ends);
        name[0] = name[0].toUpper();
        if (tries > 40) name += QString(" %1").arg(used_.size());  // the syllables ran out
        if (!used_.contains(name)) {
            used_.insert(name);
            return name;
        }
    }
}

}  // namespace tools
