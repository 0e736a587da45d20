#pragma once

#include <QDialog>
#include <QSpinBox>
#include <QStringList>

#include "records/FreeFormatReader.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class PlatformServices;

// A spin box changed only by its arrows, the arrow keys or the wheel: typed text is refused.
class ArrowSpinBox final : public QSpinBox {
    Q_OBJECT
  public:
    ArrowSpinBox(int minimum, int maximum, int value, QWidget* parent = nullptr);
};

// "Input File Parameters": the reading parameters of an import and the choice of the record
// files. Made anew with the defaults every time it is opened; on OK with files chosen it
// hands both back through FilesChosen and closes. It reads nothing itself.
class TForm2 final : public QDialog {
    Q_OBJECT
  public:
    explicit TForm2(PlatformServices& platform, QWidget* parent = nullptr);

    // The folder the file-open dialog starts in: the program's folder.
    QString InitialFolder() const { return initialFolder_; }

  signals:
    void FilesChosen(const travik::FreeFormatParameters& parameters, const QStringList& files);

  private slots:
    void btn1Click();
    void btn2Click();

  private:
    // Reads the parameter edits; false after a warning with the focus on the bad edit.
    bool ReadParameters(travik::FreeFormatParameters& parameters);
    bool ReadNumber(QLineEdit* edit, double& value);

    PlatformServices& platform_;
    QString initialFolder_;

    QGroupBox* grp1 = nullptr;    // "File Format"
    QRadioButton* rb3 = nullptr;  // "Free Type"
    QRadioButton* rb4 = nullptr;  // "PEER NGA (Underconstruction)", disabled
    QGroupBox* grp2 = nullptr;    // "Free Type Parameters"
    QLabel* lbl1 = nullptr;
    QLineEdit* edt1 = nullptr;  // time step
    QLabel* lbl2 = nullptr;
    QLineEdit* edt2 = nullptr;  // scaling factor
    QLabel* lbl3 = nullptr;
    ArrowSpinBox* edt3 = nullptr;  // lines to skip
    QLabel* lbl4 = nullptr;        // "Delimeiter"
    QRadioButton* rb1 = nullptr;   // "Comma"
    QRadioButton* rb2 = nullptr;   // "Space"
    QLabel* lbl5 = nullptr;
    ArrowSpinBox* edt4 = nullptr;  // acceleration column
    QPushButton* btn1 = nullptr;   // "OK"
    QPushButton* btn2 = nullptr;   // "Cancel"
};
