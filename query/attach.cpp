#include "query/attach.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

#include "query/frmShowQueryData.h"
#include "query/query_catalogue.h"
#include "query/query_panel.h"
#include "query/query_run.h"
#include "query/save_result.h"
#include "shell/frmMain.h"
#include "siting/study.h"

namespace query {

namespace {

// The study reads the layers the main map holds.
class MapLayers : public siting::LayerSource {
  public:
    explicit MapLayers(const engine::Map& map) : map_(map) {}
    int layerCount() const override { return map_.layerCount(); }
    std::shared_ptr<engine::MapLayer> layer(int i) const override { return map_.layer(i); }

  private:
    const engine::Map& map_;
};

void drawResults(const siting::Study& study, engine::Map& map) {
    if (!study.hasAreas()) return;
    for (const siting::ResultEntry& e : study.result()->entries) map.drawShape(e.shape, e.symbol);
}

// A dataset was opened, or failed to open: nothing of the last result stays in sight.
void forgetResult(frmMain& f) {
    siting::Study::of(f)->reset();
    f.statusBar()->clearMessage();
    f.lblWorking->clear();
}

bool pick(QComboBox* list, const QString& text) {
    const int i = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i < 0) return false;
    list->setCurrentIndex(i);
    emit list->activated(i);
    return true;
}

}  // namespace

void attach(frmMain& f) {
    auto* study = new siting::Study(std::make_unique<MapLayers>(*f.Map1), &f);
    md_functions::SkipNextSolarCheck(false);
    f.hooks.fillQueryList = [](frmMain& m) { md_functions::FillcboSelectQuery(m, *m.cboSelectQuery); };
    f.hooks.resetResults = forgetResult;
    f.hooks.drawQueryResults = [study](engine::Map& map) { drawResults(*study, map); };
    f.hooks.saveResult = [](frmMain& m) { mnuSave_Click(m); };
    f.hooks.hasResult = [study] { return study->hasAreas(); };
    // The commands follow what the study holds; without a result its table is gone too.
    QObject::connect(study, &siting::Study::resultChanged, &f, [&f, study] {
        f.UpdateCommandAvailability();
        if (study->result() || study->running()) return;
        f.cmdShowData->hide();
        if (auto* table = f.findChild<frmShowQueryData*>(QString(), Qt::FindDirectChildrenOnly))
            table->close();
    });
    // A pick of the user (even of the entry already shown) raises the selection event; the
    // program's own selections call the handlers directly.
    QObject::connect(f.cboSelectQuery, &QComboBox::activated, &f, [&f] { cboSelectQuery_Click(f); });
    QObject::connect(f.cboQueryDropDown3, &QComboBox::activated, &f,
                     [&f] { cboQueryDropDown3_Click(f); });
    QObject::connect(f.cmdUpdateMap, &QPushButton::clicked, &f, [&f] { cmdUpdateMap_Click(f); });
    QObject::connect(f.cmdShowData, &QPushButton::clicked, &f, [&f] { cmdShowData_Click(f); });
}

bool chooseQuery(frmMain& f, const QString& name) { return pick(f.cboSelectQuery, name); }

bool chooseSolarResource(frmMain& f, const QString& description) {
    return pick(f.cboQueryDropDown3, description);
}

}  // namespace query
