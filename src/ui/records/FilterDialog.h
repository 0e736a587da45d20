#pragma once

#include <QDialog>
#include <optional>

#include "core/records/FilterSettings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
namespace travik::figures {
class FigureView;
}
class PlatformServices;

// "Filter": the Butterworth filter of a record, built from the record's filter (or the
// defaults) and its time step and length, with a preview of the filter's gain against
// frequency. On OK with a filter that passes its check it hands the filter (or nothing,
// for "No Filter") back through FilterChosen and closes; a rejected filter gets the
// check's message and the focus goes to the edit it names.
class FilterDialog final : public QDialog {
    Q_OBJECT
  public:
    FilterDialog(const std::optional<travik::FilterSettings>& filter, double timeStep,
                 int sampleCount, char decimalSeparator, PlatformServices& platform,
                 QWidget* parent = nullptr);

    // The filter the edits describe, or nothing for "No Filter"; `problem` gets the first
    // thing wrong with it (a text that is not a number, then the check for the record).
    std::optional<travik::FilterSettings> ReadFilter(
        std::optional<travik::FilterProblem>& problem) const;

  signals:
    void FilterChosen(const std::optional<travik::FilterSettings>& filter);

  private slots:
    void cbbFilterBandChange();
    void EditsChanged();
    void btnFilterOkClick();

  private:
    void UpdatePreview();

    double timeStep_;
    int sampleCount_;
    char decimalSeparator_;
    PlatformServices& platform_;

    QComboBox* cbbFilterBand = nullptr;  // "No Filter", "Low-pass", "High-pass", "Band-pass"
    QLineEdit* edtLowCorner = nullptr;   // Hz
    QLineEdit* edtHighCorner = nullptr;  // Hz
    QSpinBox* spnFilterOrder = nullptr;  // 1 to 8
    QCheckBox* chkAcausal = nullptr;     // "Acausal (forward and backward)"
    QLabel* lblFilterNote = nullptr;     // pads, or what is wrong
    travik::figures::FigureView* chtFilterResponse = nullptr;  // the gain preview
    QPushButton* btnFilterOk = nullptr;
    QPushButton* btnFilterCancel = nullptr;
};
