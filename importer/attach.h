#pragma once

class frmMain;

namespace importer {

// Adds "Import Dataset..." to the main window's File menu, after "Open Dataset...": it shows
// the import window, and a finished import is opened as the map's dataset.
void attach(frmMain& f);

}  // namespace importer
