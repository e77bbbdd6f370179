#pragma once
// The program's version, shown on the splash window.

#include <QString>

namespace shell {

constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 3;
constexpr int kVersionRevision = 0;

inline QString versionText() {
    return QStringLiteral("v %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

}  // namespace shell
