#pragma once

#include <QDialog>

#include "records/TimeHistory.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class PlatformServices;
class StringGrid;

// "Detailed Data of Time History Records": the sample table of one record, picked in the
// window's own record selector. Not modal, on top, at most one at a time (the records page
// keeps the reference). It reads the main window's records and never changes them.
class TForm4 final : public QDialog {
    Q_OBJECT
  public:
    TForm4(const travik::RecordList& records, PlatformServices& platform, char decimalSeparator,
           QWidget* parent = nullptr);

    // Empties the selector and blanks every row below the header; sizes stay.
    void ResetDetailedData();
    // Lists the records present now and selects the first one.
    void FillRecordSelector();
    // Writes the sample table of the record selected in the selector.
    void ShowRecordData();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private slots:
    void cbb4Change();
    void btn1Click();
    void CopySelection1Click();
    void SelectAll1Click();

  private:
    // Sees every key of the window before the focused control; the key goes on to it.
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void BlankRow(int row);

    const travik::RecordList& records_;
    PlatformServices& platform_;
    char decimalSeparator_;

    QLabel* lbl11 = nullptr;  // "Selected Time History Records"
    QComboBox* cbb4 = nullptr;
    StringGrid* strngrd1 = nullptr;
    QPushButton* btn1 = nullptr;  // "Close"
    QMenu* pm2 = nullptr;
    QAction* CopySelection1 = nullptr;
    QAction* SelectAll1 = nullptr;
};
