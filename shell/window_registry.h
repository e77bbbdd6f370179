#pragma once
// The program's loaded windows, in the order they were loaded. Closing the main window unloads
// them, the most recently loaded first. Every window of the program registers itself here when
// it is created.

#include <QWidget>

namespace shell {

void registerWindow(QWidget* window);
// Closes every registered window still alive, most recent first, and forgets them all.
void unloadWindows();
// Forgets every registered window without closing it (a new main window is loading).
void resetWindowRegistry();
int registeredWindowCount();

}  // namespace shell
