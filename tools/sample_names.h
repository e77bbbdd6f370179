#pragma once
// Invented place names, unique within one maker, the same on every run.

#include <QSet>
#include <QString>

#include "tools/sample_random.h"

namespace tools {

class NameMaker {
public:
    explicit NameMaker(std::uint64_t seed) : rnd_(seed) {}
    QString next();

private:
    SampleRandom rnd_;
    QSet<QString> used_;
};

}  // namespace tools
