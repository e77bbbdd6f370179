#pragma once
// The program's real message boxes and file dialogs.

namespace shell {

// Makes them the default dialog service of the program.
void useWidgetDialogs();

}  // namespace shell
