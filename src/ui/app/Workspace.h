#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "analysis/AnalysisSettings.h"
#include "analysis/SpectraComputation.h"
#include "records/BaselineCorrection.h"
#include "records/FreeFormatReader.h"
#include "records/RecordFileReader.h"
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
    // The last spectra computed, with the record name, settings, damping ratios and periods
    // they were computed from; empty before the first analysis and after the records change.
    const travik::SpectraResult& Spectra() const { return spectra_; }

    // Reads the files as one import (the records before a failing file stay) in place of
    // every record and result held now; `showWarning` gets each reader message.
    void ImportRecords(const std::vector<std::string>& paths,
                       const travik::FreeFormatParameters& parameters,
                       const std::function<void(const std::string&)>& showWarning);
    // The same with a file format: Automatic detects each file's; every reader warning and
    // failure goes to `showWarning`.
    void ImportRecords(const std::vector<std::string>& paths,
                       const travik::RecordReadOptions& options,
                       const std::function<void(const std::string&)>& showWarning);
    // Puts these records in place of every record and result held now.
    void ReplaceRecords(travik::RecordList records);
    // Discards every record and result ("Clear Data").
    void Clear();
    // Corrects record `index` with the acceleration of gravity of the settings; false when
    // the fit is not defined for it (the record then stays uncorrected).
    bool CorrectRecord(int index, travik::BaselineCorrectionType type);

    void SetSettings(const travik::AnalysisSettings& settings);

    // Computes the spectra of record `index` for these damping ratios (fractions; sorted
    // and without repeats first) and the periods of the settings. The window shows a damping
    // ratio whole or not at all: for one whose runs did not all succeed
    // `showCalculationError` gets the message of its first failed period.
    void ComputeSpectra(int index, std::vector<double> dampingRatios,
                        const std::function<void(const std::string&)>& showCalculationError);
    // Forgets every record and result, as the window does when it goes.
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
    travik::SpectraResult spectra_;
    QString exportFolder_;
};
