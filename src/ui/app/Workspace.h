#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "analysis/AnalysisSettings.h"
#include "analysis/SpectrumStore.h"
#include "records/BaselineCorrection.h"
#include "records/FreeFormatReader.h"
#include "records/TimeHistory.h"

// The document every page works on: the records, the analysis settings, the last spectra
// and the folder the exports write to. Pages hold it by reference and react to its signals
// instead of calling each other; only the workspace changes what it holds.
class Workspace final : public QObject {
    Q_OBJECT
  public:
    explicit Workspace(QObject* parent = nullptr);

    const travik::RecordList& Records() const { return records_; }
    const travik::AnalysisSettings& Settings() const { return settings_; }
    const travik::SpectrumStore& Spectra() const { return spectra_; }
    // The damping, period and frequency lists the shown spectra were computed with. An
    // export rewrites the store's lists without recomputing its columns; views pair the
    // columns with these, so a curve never carries another analysis's damping or periods.
    const travik::SpectrumStore& AnalysedLists() const { return analysedLists_; }

    // Reads the files as one import (the records before a failing file stay) in place of
    // every record and result held now; `showWarning` gets each reader message.
    void ImportRecords(const std::vector<std::string>& paths,
                       const travik::FreeFormatParameters& parameters,
                       const std::function<void(const std::string&)>& showWarning);
    // Puts these records in place of every record and result held now.
    void ReplaceRecords(travik::RecordList records);
    // Discards every record and result ("Clear Data").
    void Clear();
    // Corrects record `index` with the acceleration of gravity of the settings; false when
    // the fit is not defined for it (the record then stays uncorrected).
    bool CorrectRecord(int index, travik::BaselineCorrectionType type);

    void SetSettings(const travik::AnalysisSettings& settings);

    // The damping list (fractions, sorted, no repeats) and the period list of the settings
    // for the next analysis or export; columns are kept.
    void PrepareSpectra(std::vector<double> dampingRatios);
    // A damping read failed: no damping list is prepared.
    void ForgetDampingRatios() { spectra_.dampingRatios.clear(); }
    // Computes the spectra of record `index` with the prepared lists; a damping ratio whose
    // run fails gets no columns and `showCalculationError` its message once.
    void ComputeSpectra(int index,
                        const std::function<void(const std::string&)>& showCalculationError);
    // Empties the spectra's columns; their lists stay.
    void ClearSpectra();
    // Forgets every list and column, as the window does when it goes.
    void ReleaseAll();

    QString ExportFolder() const { return exportFolder_; }
    void SetExportFolder(const QString& folder) { exportFolder_ = folder; }

  signals:
    void recordsReplaced();
    void recordCorrected(int index);
    void spectraComputed();
    void settingsChanged();

  private:
    travik::RecordList records_;
    travik::AnalysisSettings settings_;
    travik::SpectrumStore spectra_;
    travik::SpectrumStore analysedLists_;
    QString exportFolder_;
};
