#pragma once

#include <QDialog>

#include "core/analysis/AnalysisSettings.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class PlatformServices;

// "Analysis Settings": edits a copy of the settings it was opened with. "Update" checks the
// texts (the same checks as the command line) and hands the settings back through
// SettingsUpdated at once; the window stays open.
class TForm3 final : public QDialog {
    Q_OBJECT
  public:
    TForm3(const travik::AnalysisSettings& settings, char decimalSeparator,
           PlatformServices& platform, QWidget* parent = nullptr);

    // The settings as last updated here (those it was opened with before any update).
    const travik::AnalysisSettings& Settings() const { return settings_; }

  signals:
    void SettingsUpdated(const travik::AnalysisSettings& settings);

  private slots:
    void rb1Click();
    void rb2Click();
    void btn1Click();
    void btn2Click();
    void btn3Click();

  private:
    // Writes the settings into the controls.
    void FillControls(const travik::AnalysisSettings& settings);
    QString Text(double value) const;
    QLineEdit* EditOf(travik::SettingsField field) const;

    travik::AnalysisSettings settings_;
    char decimalSeparator_;
    PlatformServices& platform_;

    QGroupBox* grp1 = nullptr;  // "Period Range and Step (for Response Spectra)"
    QLabel* lbl1 = nullptr;
    QLineEdit* edt1 = nullptr;  // min. period
    QLabel* lbl2 = nullptr;
    QLineEdit* edt2 = nullptr;  // max. period
    QLabel* lbl3 = nullptr;
    QLineEdit* edt3 = nullptr;    // period step
    QGroupBox* grp2 = nullptr;    // "Numerical Method Parameters"
    QLabel* lbl4 = nullptr;       // "Type of Method"
    QRadioButton* rb1 = nullptr;  // "Piecewise Exact Method"
    QRadioButton* rb2 = nullptr;  // "Newmark's Method "
    QLabel* lbl5 = nullptr;
    QLineEdit* edt4 = nullptr;  // maximum dt/T
    QLabel* lbl6 = nullptr;
    QLineEdit* edt6 = nullptr;  // beta
    QLabel* lbl7 = nullptr;
    QLineEdit* edt5 = nullptr;  // gamma
    QGroupBox* grp3 = nullptr;  // "Gravitational Acceleration"
    QLabel* lbl8 = nullptr;
    QLineEdit* edt7 = nullptr;    // g
    QPushButton* btn1 = nullptr;  // "Program Defaults"
    QPushButton* btn2 = nullptr;  // "Update"
    QPushButton* btn3 = nullptr;  // "Cancel"
};
