#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "ui/app/BackgroundWork.h"
#include "ui/app/CheckMarks.h"
#include "ui/app/RecordSource.h"

#include "core/analysis/AnalysisSettings.h"
#include "core/analysis/SpectraComputation.h"
#include "core/records/BaselineCorrection.h"
#include "core/records/FreeFormatReader.h"
#include "core/records/RecordFileReader.h"
#include "core/records/RecordFilter.h"
#include "core/records/TimeHistory.h"

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

    // The file each record was read from, one per record (nothing for a record of no file).
    const RecordSources& Sources() const { return sources_; }

    // Takes the records of one import, with the source of each: added after the loaded ones
    // when `append`, else in place of every record and result. An import that read nothing
    // changes nothing (its first file failed: there is nothing to put in the place of what
    // is loaded).
    void AcceptImport(travik::RecordList imported, RecordSources sources, bool append);
    // Puts these records in place of every record and result held now; `sources` as above
    // (missing ones are records of no file).
    void ReplaceRecords(travik::RecordList records, RecordSources sources = {});
    // Adds these records after the ones loaded (an import added to them); the spectra go, as
    // after any import. Nothing changes when `records` is empty.
    void AppendRecords(travik::RecordList records, RecordSources sources = {});
    // Takes the corrected series, and the state that goes with them, of `corrected` (a copy
    // of record `index` corrected off the window's thread) into record `index` itself, so
    // that whoever holds the record sees the correction.
    void TakeCorrection(int index, travik::TimeHistory& corrected);
    // Discards every record and result ("Clear Data").
    void Clear();
    // Puts `filtered` (a copy of record `index` whose filter was set or removed off the
    // window's thread) in the place of record `index`, so that whoever holds the record sees
    // the filtered series.
    void TakeFiltered(int index, travik::TimeHistory&& filtered);

    void SetSettings(const travik::AnalysisSettings& settings);

    // Puts the spectra of one analysis, computed off the window's thread, in place of the
    // last ones. The window shows a damping ratio whole or not at all: for one whose runs
    // did not all succeed `showCalculationError` gets the message of its first failed
    // period.
    void AcceptSpectra(travik::SpectraResult result,
                       const std::function<void(const std::string&)>& showCalculationError);
    // Forgets every record and result, as the window does when it goes.
    void ReleaseAll();

    // Long work on what the workspace holds runs here, one job at a time; while a job runs
    // the pages start no other and change nothing the job reads.
    BackgroundWork& Work() { return work_; }

    // The records checked, one selection for every page; nothing checked after new records
    // replace the loaded ones, the loaded keep their marks when records are added.
    CheckMarks& Checks() { return checks_; }
    const CheckMarks& Checks() const { return checks_; }

    QString ExportFolder() const { return exportFolder_; }
    void SetExportFolder(const QString& folder) { exportFolder_ = folder; }

  signals:
    void recordsReplaced();
    void recordCorrected(int index);
    void spectraComputed();
    void settingsChanged();

  private:
    travik::RecordList records_;
    RecordSources sources_;  // one per record
    travik::AnalysisSettings settings_;
    travik::SpectraResult spectra_;
    CheckMarks checks_;
    QString exportFolder_;
    // Last, so that it goes first: a running job reads the records above.
    BackgroundWork work_;
};
