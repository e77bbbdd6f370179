#pragma once
// "Import Dataset": the choices of an import in three tabs (study area and output, rasters,
// vectors) with file pickers, recipes to load and save, and a progress bar with Cancel. The
// import runs on the window's thread and lets window events through as it goes.

#include <QDialog>
#include <QMap>
#include <functional>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace importer {
class Recipe;
}

class frmImport : public QDialog {
    Q_OBJECT
  public:
    explicit frmImport(QWidget* parent = nullptr);

    // Called with the new dataset's folder when an import has finished.
    std::function<void(const QString& datasetDir)> onImported;

    QTabWidget* tabs = nullptr;
    QMap<QString, QLineEdit*> txt;  // by option name, "out" for the dataset folder
    QComboBox* cboSolarUnits = nullptr;
    QCheckBox* chkOverwrite = nullptr;
    QPushButton* cmdLoadRecipe = nullptr;  // "Load Recipe..."
    QPushButton* cmdSaveRecipe = nullptr;  // "Save Recipe..."
    QProgressBar* prgImport = nullptr;
    QLabel* lblStatus = nullptr;
    QPushButton* cmdImport = nullptr;  // "Import"
    QPushButton* cmdCancel = nullptr;  // "Close", or "Cancel" while an import runs

    // The choices shown; throws importer::ImportError for a bad one.
    importer::Recipe recipe() const;
    void showRecipe(const importer::Recipe& r);
    bool running() const { return running_; }

    void cmdImport_Click();
    void cmdCancel_Click();
    void cmdLoadRecipe_Click();
    void cmdSaveRecipe_Click();

  protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

  private:
    QWidget* studyAreaTab();
    QWidget* rastersTab();
    QWidget* vectorsTab();
    QLineEdit* fileRow(QGridLayout* grid, int row, const QString& key, const QString& label,
                       bool pattern = false);
    QLineEdit* textRow(QGridLayout* grid, int row, const QString& key, const QString& label,
                       const QString& placeholder = {});
    void setRunning(bool running);

    bool running_ = false;
    bool cancelRequested_ = false;
};
