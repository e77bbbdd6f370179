#include "model/waits.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>

namespace model {

double waitScale = 1.0;

void Wait(int ms, const std::function<bool()>& done) {
    constexpr qint64 kSliceMs = 10;
    const auto total = qint64(ms * waitScale);
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        QCoreApplication::processEvents();
        if (done && done())
            return;
        const qint64 left = total - timer.elapsed();
        if (left <= 0)
            return;
        QThread::msleep(std::min(left, kSliceMs));
    }
}

}  // namespace model
