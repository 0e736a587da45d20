#include "ui/app/Workspace.h"

#include <QCoreApplication>
#include <utility>

#include "core/analysis/CalculationErrors.h"
#include "core/analysis/DampingValues.h"
#include "ui/app/StartFolders.h"

Workspace::Workspace(QObject* parent) : QObject(parent), exportFolder_(DefaultStartFolder()) {}

namespace {

// One source per record: missing ones are records of no file.
RecordSources OnePerRecord(RecordSources sources, int recordCount) {
    sources.resize(static_cast<std::size_t>(recordCount));
    return sources;
}

}  // namespace

void Workspace::AcceptImport(travik::RecordList imported, RecordSources sources, bool append) {
    if (imported.IsEmpty()) {
        return;
    }
    if (append) {
        AppendRecords(std::move(imported), std::move(sources));
    } else {
        ReplaceRecords(std::move(imported), std::move(sources));
    }
}

void Workspace::ReplaceRecords(travik::RecordList records, RecordSources sources) {
    sources_ = OnePerRecord(std::move(sources), records.Count());
    records_ = std::move(records);
    spectra_ = travik::SpectraResult{};
    checks_.Reset(records_.Count());
    emit recordsReplaced();
}

void Workspace::AppendRecords(travik::RecordList records, RecordSources sources) {
    if (records.IsEmpty()) {
        return;
    }
    sources = OnePerRecord(std::move(sources), records.Count());
    sources_.insert(sources_.end(), sources.begin(), sources.end());
    records_.AppendAll(std::move(records));
    spectra_ = travik::SpectraResult{};
    checks_.Extend(records_.Count());
    emit recordsReplaced();
}

void Workspace::TakeCorrection(int index, travik::TimeHistory& corrected) {
    using travik::MotionSet;
    travik::TimeHistory& record = records_.At(index);
    record.MutableCorrectedAcceleration().swap(corrected.MutableCorrectedAcceleration());
    record.MutableVelocity(MotionSet::Corrected)
        .swap(corrected.MutableVelocity(MotionSet::Corrected));
    record.MutableDisplacement(MotionSet::Corrected)
        .swap(corrected.MutableDisplacement(MotionSet::Corrected));
    if (!record.IsIntegrated() && corrected.IsIntegrated()) {
        // The linear fit integrates the raw record first when that was not done yet.
        record.MutableVelocity(MotionSet::Raw).swap(corrected.MutableVelocity(MotionSet::Raw));
        record.MutableDisplacement(MotionSet::Raw)
            .swap(corrected.MutableDisplacement(MotionSet::Raw));
        record.SetIntegrated(true);
    }
    record.SetCorrected(corrected.IsCorrected());
    record.SetCorrectionType(corrected.CorrectionType());
    emit recordCorrected(index);
}

void Workspace::Clear() {
    ReplaceRecords(travik::RecordList{});
}

void Workspace::TakeFiltered(int index, travik::TimeHistory&& filtered) {
    records_.At(index) = std::move(filtered);
    emit recordCorrected(index);
}

void Workspace::SetSettings(const travik::AnalysisSettings& settings) {
    settings_ = settings;
    emit settingsChanged();
}

void Workspace::AcceptSpectra(travik::SpectraResult result,
                              const std::function<void(const std::string&)>& showCalculationError) {
    spectra_ = std::move(result);
    travik::ReportIncompleteDampings(spectra_, showCalculationError);
    emit spectraComputed();
}

void Workspace::ReleaseAll() {
    records_.Clear();
    sources_.clear();
    spectra_ = travik::SpectraResult{};
    checks_.Reset(0);
    emit recordsReplaced();
}
