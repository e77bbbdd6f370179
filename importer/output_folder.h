#pragma once
// The dataset is written into a fresh folder beside OUT_DIR and renamed into place in one step
// at the end, so a failed or cancelled import leaves OUT_DIR as it was.

#include <QString>
#include <QStringList>

namespace importer {

class OutputFolder {
  public:
    // OUT_DIR may be missing or an empty folder. A folder that already holds a dataset is
    // replaced only with overwrite, and only when this importer wrote it and it holds nothing
    // else: no other file, no link and no source of this import. Throws ImportError.
    OutputFolder(const QString& outDir, bool overwrite, const QStringList& sources);
    ~OutputFolder();  // removes the work folder unless committed
    OutputFolder(const OutputFolder&) = delete;
    OutputFolder& operator=(const OutputFolder&) = delete;

    QString workPath() const { return work_; }
    QString finalPath() const { return final_; }
    // Puts the work folder in OUT_DIR's place; the old dataset's files, if any, go only after
    // that. Returns a warning when the old folder held more than them by then (it is kept).
    QString commit();

    // Whether a file of this name is one an import writes into a dataset folder.
    static bool isWrittenByImport(const QString& fileName);

  private:
    void checkTarget() const;
    QString workPrefix() const;  // ".NAME.importing-" beside OUT_DIR
    // Work folders of imports whose process has died (killed, or the machine stopped).
    void removeStaleWorkFolders() const;
    QString final_, work_;
    QStringList sources_;
    bool overwrite_ = false;
    bool committed_ = false;
};

}  // namespace importer
