#pragma once
// The "Change Layers" dialog: one check box per map layer, applied with "Update Map".

#include <QDialog>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;

class frmMain;

class frmShowLayersDialog : public QDialog {
    Q_OBJECT
  public:
    // checkBoxes: how many layer check boxes the dialog holds (MAX_LAYERS in the program).
    explicit frmShowLayersDialog(int checkBoxes, QWidget* parent = nullptr);

    std::vector<QCheckBox*> chkShowLayers;
    QLabel* lblInstruction = nullptr;
    QPushButton* OKButton = nullptr;      // "Update Map"
    QPushButton* CancelButton = nullptr;  // "Cancel"

    void Form_Activate();
    void Form_Deactivate();
    void OKButton_Click();
    void CancelButton_Click();

  protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
};
