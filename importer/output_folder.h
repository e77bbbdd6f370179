#pragma once
// The dataset is written into a fresh folder beside OUT_DIR and renamed into place in one step
// at the end, so a failed or cancelled import leaves OUT_DIR as it was.

#include <QString>

namespace importer {

class OutputFolder {
  public:
    // OUT_DIR may be missing or an empty folder; a folder that already holds a dataset is
    // replaced only with overwrite, and never one holding anything but a dataset's files.
    // Throws ImportError.
    OutputFolder(const QString& outDir, bool overwrite);
    ~OutputFolder();  // removes the work folder unless committed
    OutputFolder(const OutputFolder&) = delete;
    OutputFolder& operator=(const OutputFolder&) = delete;

    QString workPath() const { return work_; }
    QString finalPath() const { return final_; }
    // Puts the work folder in OUT_DIR's place; the old dataset, if any, goes only after that.
    void commit();

  private:
    void checkTarget() const;
    QString final_, work_;
    bool overwrite_ = false;
    bool committed_ = false;
};

}  // namespace importer
