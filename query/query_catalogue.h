#pragma once
// The query list, whether a query (or solar resource) can run on the loaded layers, and what
// choosing a query or a solar resource does.

#include <QString>
#include <QStringList>
#include <vector>

class QComboBox;
class frmMain;

namespace md_functions {

// The eight query names in list order; entries 1 to 6 are the wind queries.
const QStringList& QueryNames();
bool isWindQuery(const QString& name);
// The solar resource descriptions, with the layer file and annual field of each.
struct SolarResource {
    QString description, layerFile, fieldName;
};
const std::vector<SolarResource>& SolarResources();

void FillcboSelectQuery(frmMain& f, QComboBox& list);
bool isQueryPossible(const QString& name, QString& message);
void getMaxWindDensity();
void HandleQuerySelect(frmMain& f);

}  // namespace md_functions

namespace query {

// Handlers of the main window's query controls.
void cboSelectQuery_Click(frmMain& f);
void cboQueryDropDown3_Click(frmMain& f);

}  // namespace query
