#include "app/main_window_factory.h"

#include "importer/attach.h"
#include "info/attach.h"
#include "print/attach.h"
#include "model/attach.h"
#include "query/attach.h"

std::unique_ptr<frmMain> createMainWindow() {
    auto form = std::make_unique<frmMain>();

    // Subsystems attach here, one line each, before the load runs (the load calls their hooks).
    // --- attach: begin ---
    info::attach(*form);
    print::attach(*form);
    model::attach(*form);
    query::attach(*form);
    importer::attach(*form);
    // --- attach: end ---

    form->Form_Load();
    return form;
}
