#pragma once
// The point report window: what every shown layer holds at the last point clicked with the
// Info tool, as plain text.

#include <QHash>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace engine {
class Map;
class Shape;
}  // namespace engine
class QPlainTextEdit;
class QPushButton;
class frmMain;

class frmInfo : public QWidget {
    Q_OBJECT
public:
    explicit frmInfo(frmMain& owner);

    QPlainTextEdit* txtInfo = nullptr;
    QPushButton* OKButton = nullptr;  // "OK"

    // Builds the report for the owner's last click (giX, giY) into txtInfo.
    void Form_Activate();
    // The report as built, lines ended by CR LF (the text box shows the same lines).
    const QString& reportText() const { return report_; }

    // Shows the window for a new click and builds its report.
    void showReport();

    bool isShowValue(const QString& layerFile, const QString& fieldNameUpper);
    QString sortBasedOnFieldNames(const QString& layerFile) const;
    QString sortAndMakeOutputString(const QStringList& names) const;

    void OKButton_Click();

protected:
  bool event(QEvent* e) override;

private:
    QString buildReport();
    QString emptyPointText(const engine::Map& map, const engine::Shape& point) const;
    void placeBesideTools();

    frmMain& main_;
    bool bSortFields = false;
    QHash<QString, QString> dictFieldValues;  // upper-case field name -> upper-case value
    QString report_;
    bool builtForClick_ = false;
};
