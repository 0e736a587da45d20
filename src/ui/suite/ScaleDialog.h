#pragma once

#include <QDialog>
#include <vector>

#include "ui/suite/ScaleRequest.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class PlatformServices;

// The motions a scaling can be made of: the checked records, and the two-component pairs
// they form (a record count alone: no pair).
struct ScaleMotionCounts {
    ScaleMotionCounts(int recordCount, int pairCount = 0)
        : records(recordCount), pairs(pairCount) {}
    int records;
    int pairs;
};

// "Scale to Target": the target spectrum, the period range (or T1), the suite rule, the
// spectrum scaled, the weights, the factor limits and the selection, built from the fields
// of the last scaling; the RotD measures are offered when the checked records form a pair.
// OK reads them with ReadScaleRequest; a refusal gets its message and
// the focus goes to the control it names, the dialog staying open.
class ScaleDialog final : public QDialog {
    Q_OBJECT
  public:
    ScaleDialog(const ScaleFields& fields, std::vector<double> periods, ScaleMotionCounts counts,
                char decimalSeparator, PlatformServices& platform, QWidget* parent = nullptr);

    // The controls' values as they stand.
    ScaleFields Fields() const;
    // The checked values after OK.
    const ScaleRequest& Request() const { return request_; }

  private slots:
    void cbbScaleTargetChange();
    void btnScaleTargetFileClick();
    void btnScaleOkClick();
    void UpdateEnabled();

  private:
    QWidget* CreateTargetBox();
    QWidget* CreateRangeBox();
    QWidget* CreateScalingBox();
    void Fill(const ScaleFields& fields);
    // The records, or the pairs when a RotD measure is chosen.
    int MotionCount() const;

    std::vector<double> periods_;
    ScaleMotionCounts counts_;
    char decimalSeparator_;
    PlatformServices& platform_;
    ScaleRequest request_;

    QComboBox* cbbScaleTarget = nullptr;  // ASCE/SEI 7-22, EN 1998-1, file
    QStackedWidget* stkScaleTarget = nullptr;
    QLineEdit* edtScaleSds = nullptr;
    QLineEdit* edtScaleSd1 = nullptr;
    QLineEdit* edtScaleTl = nullptr;
    QComboBox* cbbScaleEc8Type = nullptr;
    QComboBox* cbbScaleGround = nullptr;
    QLineEdit* edtScaleAg = nullptr;
    QLineEdit* edtScaleXi = nullptr;
    QLineEdit* edtScaleTargetFile = nullptr;
    QPushButton* btnScaleTargetFile = nullptr;
    QRadioButton* rbScaleRange = nullptr;
    QRadioButton* rbScaleT1 = nullptr;
    QLineEdit* edtScaleTmin = nullptr;
    QLineEdit* edtScaleTmax = nullptr;
    QLineEdit* edtScaleT1 = nullptr;
    QComboBox* cbbScaleRule = nullptr;     // none, asce7, ec8
    QComboBox* cbbScaleMeasure = nullptr;  // psa; rotd50, rotd100 need pairs
    QLineEdit* edtScaleDamping = nullptr;
    QComboBox* cbbScaleWeights = nullptr;  // uniform, log
    QCheckBox* chkScaleLimits = nullptr;
    QLineEdit* edtScaleFmin = nullptr;
    QLineEdit* edtScaleFmax = nullptr;
    QCheckBox* chkScaleAtPeriod = nullptr;
    QLineEdit* edtScaleAtPeriod = nullptr;
    QSpinBox* spnScaleSelect = nullptr;
    QSpinBox* spnScaleMaxPerStation = nullptr;
    QPushButton* btnScaleOk = nullptr;
    QPushButton* btnScaleCancel = nullptr;
};
