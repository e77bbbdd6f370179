#pragma once
// Puts the main window together with the subsystems that attach to it.

#include <memory>

#include "shell/frmMain.h"

// Builds the main window, lets every subsystem attach to it, and runs its load sequence.
std::unique_ptr<frmMain> createMainWindow();
