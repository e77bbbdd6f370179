#include "shell/window_registry.h"

#include <QList>
#include <QPointer>

namespace shell {
namespace {

QList<QPointer<QWidget>>& windows() {
    static QList<QPointer<QWidget>> list;
    return list;
}

}  // namespace

void registerWindow(QWidget* window) {
    if (window && !windows().contains(window)) windows().append(window);
}

void unloadWindows() {
    // Take the list first: closing a window may register or close others.
    const QList<QPointer<QWidget>> list = std::exchange(windows(), {});
    for (auto it = list.crbegin(); it != list.crend(); ++it)
        if (QWidget* w = it->data()) w->close();
}

void resetWindowRegistry() { windows().clear(); }

int registeredWindowCount() {
    int n = 0;
    for (const auto& w : windows()) n += w ? 1 : 0;
    return n;
}

}  // namespace shell
