#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "core/records/TimeHistory.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class BackgroundWork;
class PlatformServices;
class StringGrid;

// "Detailed Data of Time History Records": the sample table of one record, picked in the
// window's own record selector. Not modal, an ordinary window, at most one at a time (the
// records page keeps the reference). It reads the main window's records and never changes
// them.
class TForm4 final : public QDialog {
    Q_OBJECT
  public:
    // Long copies run as `work`'s jobs, so that the records cannot change under them.
    TForm4(const travik::RecordList& records, PlatformServices& platform, BackgroundWork& work,
           char decimalSeparator, QWidget* parent = nullptr);

    // Empties the selector and blanks every row below the header; sizes stay.
    void ResetDetailedData();
    // Lists the records present now and selects the first one.
    void FillRecordSelector();
    // Shows the sample table of the record selected in the selector; the cells are
    // formatted when the table shows or copies them.
    void ShowRecordData();
    // The records were replaced or emptied: lists them anew and shows the first.
    void RecordsReplaced();
    // Record `index` changed (corrected): shown afresh if it is the one on display.
    void RecordChanged(int index);
    // Moves the window beside `window` (right, else left) where the screen has room.
    void PlaceBeside(const QWidget& window);
    // Where a window of outer size `outer` goes beside `owner` (frame geometries) on a
    // screen whose free area is `available`: right of it, else left of it, else against the
    // screen's right edge.
    static QPoint BesidePosition(const QRect& owner, const QSize& outer, const QRect& available);

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
    QString SampleText(int column, int row) const;
    // The texts of the sample table of `record`, row 1 holding sample 0.
    static QString SampleCellText(const travik::TimeHistory& record, int column, int row,
                                  char decimalSeparator);

    const travik::RecordList& records_;
    PlatformServices& platform_;
    BackgroundWork& work_;
    char decimalSeparator_;
    int shownRecord_ = -1;  // the record whose samples the grid shows

    QLabel* lbl11 = nullptr;  // "Selected Time History Records"
    QComboBox* cbb4 = nullptr;
    StringGrid* strngrd1 = nullptr;
    QPushButton* btn1 = nullptr;  // "Close"
    QMenu* pm2 = nullptr;
    QAction* CopySelection1 = nullptr;
    QAction* SelectAll1 = nullptr;
};
