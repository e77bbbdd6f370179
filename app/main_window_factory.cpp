#include "app/main_window_factory.h"

std::unique_ptr<frmMain> createMainWindow() {
    auto form = std::make_unique<frmMain>();

    // Subsystems attach here, one line each, before the load runs (the load calls their hooks).
    // --- attach: begin ---
    // --- attach: end ---

    form->Form_Load();
    return form;
}
