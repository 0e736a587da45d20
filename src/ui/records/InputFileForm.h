#pragma once

#include <QDialog>
#include <QSpinBox>
#include <QStringList>

#include "core/records/ImportPreview.h"
#include "core/records/RecordFileReader.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class MiddleElidedLabel;
class PlatformServices;

// A spin box changed only by its arrows, the arrow keys or the wheel: typed text is refused.
class ArrowSpinBox final : public QSpinBox {
    Q_OBJECT
  public:
    ArrowSpinBox(int minimum, int maximum, int value, QWidget* parent = nullptr);
};

// "Input File Parameters": the file format and reading parameters of an import and the
// choice of the record files, with a preview of the first chosen file: its first lines
// (header shaded, the free-format acceleration column marked) and what will be read. Made
// anew with the defaults every time it is opened; on OK with files chosen it hands the
// options and files back through FilesChosen and closes. It imports nothing itself.
class TForm2 final : public QDialog {
    Q_OBJECT
  public:
    explicit TForm2(PlatformServices& platform, QWidget* parent = nullptr);

    // Whether the records read are added to those loaded instead of replacing them.
    bool AppendToLoaded() const;

    // The folder the file-open dialog starts in: the program's folder.
    QString InitialFolder() const { return initialFolder_; }
    // Where the file dialog starts (the user's documents folder until set).
    void SetInitialFolder(const QString& folder) { initialFolder_ = folder; }
    // Shows these reading parameters (the last import's) in place of the defaults.
    void ShowReadOptions(const travik::RecordReadOptions& options);

    // The preview last shown (empty lines and summary before files are chosen).
    const travik::ImportPreview& Preview() const { return preview_; }

    // Files dropped on the main window, chosen and previewed as "Choose Files..." would. A
    // free-format file states no time step: the edit is emptied for the user to give it,
    // instead of reading the file at a step nobody chose.
    void ShowDroppedFiles(const QStringList& files);

  signals:
    void FilesChosen(const travik::RecordReadOptions& options, const QStringList& files);

  private slots:
    void btn1Click();
    void btn2Click();
    void btn3Click();
    void UpdatePreview();

  private:
    travik::RecordFormat ChosenFormat() const;
    // Reads the edits; false after a warning with the focus on the bad edit.
    bool ReadOptions(travik::RecordReadOptions& options);
    bool ReadNumber(QLineEdit* edit, double& value);
    // The options as far as the edits hold numbers, for the preview (no messages).
    travik::RecordReadOptions PreviewOptions() const;
    // Greys the fields a named format takes from the file, and fills in its time step.
    void CreateFormatGroup();
    void CreateFreeFormatGroup();
    void CreatePreviewGroup();
    void ConnectHandlers();
    void UpdateFieldStates();
    void ShowPreview();

    PlatformServices& platform_;
    QString initialFolder_;
    QStringList files_;
    travik::ImportPreview preview_;
    QString freeTimeStepText_;  // the user's time step while a file's own is shown
    bool showingFileTimeStep_ = false;

    QGroupBox* grp1 = nullptr;    // "File Format"
    QRadioButton* rb5 = nullptr;  // "Automatic"
    QRadioButton* rb3 = nullptr;  // "Free Type"
    QRadioButton* rb4 = nullptr;  // "PEER NGA"
    QRadioButton* rb6 = nullptr;  // "CSMIP/CGS V1/V2"
    QRadioButton* rb7 = nullptr;  // "USGS SMC"
    QRadioButton* rb8 = nullptr;  // "K-NET/KiK-net"
    QRadioButton* rb9 = nullptr;  // "COSMOS V1/V2"
    QGroupBox* grp2 = nullptr;    // "Free Type Parameters"
    QLabel* lbl1 = nullptr;
    QLineEdit* edt1 = nullptr;  // time step
    QCheckBox* chk1 = nullptr;  // "Override time step"
    QLabel* lbl2 = nullptr;
    QLineEdit* edt2 = nullptr;  // scaling factor
    QLabel* lbl3 = nullptr;
    ArrowSpinBox* edt3 = nullptr;  // lines to skip
    QLabel* lbl4 = nullptr;        // "Delimeiter"
    QRadioButton* rb1 = nullptr;   // "Comma"
    QRadioButton* rb2 = nullptr;   // "Space"
    QLabel* lbl5 = nullptr;
    ArrowSpinBox* edt4 = nullptr;       // acceleration column
    QGroupBox* grp3 = nullptr;          // "Preview"
    QPushButton* btn3 = nullptr;        // "Choose Files..."
    MiddleElidedLabel* lbl6 = nullptr;  // the files chosen
    QPlainTextEdit* mmo1 = nullptr;     // the first lines of the first file
    QLabel* lbl7 = nullptr;             // what will be read
    QLabel* lbl8 = nullptr;             // warnings
    QCheckBox* chk2 = nullptr;          // "Add to the records already loaded"
    QPushButton* btn1 = nullptr;        // "OK"
    QPushButton* btn2 = nullptr;        // "Cancel"
};
