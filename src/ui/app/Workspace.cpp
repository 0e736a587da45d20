#include "app/Workspace.h"

#include <QCoreApplication>
#include <utility>

#include "analysis/DampingValues.h"
#include "analysis/SpectrumStore.h"

Workspace::Workspace(QObject* parent)
    : QObject(parent), exportFolder_(QCoreApplication::applicationDirPath()) {}

void Workspace::ImportRecords(const std::vector<std::string>& paths,
                              const travik::FreeFormatParameters& parameters,
                              const std::function<void(const std::string&)>& showWarning) {
    travik::RecordList imported;
    travik::ImportRecordFiles(paths, parameters, settings_.g, imported, showWarning);
    AcceptImport(std::move(imported), false);
}

void Workspace::AcceptImport(travik::RecordList imported, bool append) {
    if (imported.IsEmpty()) {
        return;
    }
    if (append) {
        AppendRecords(std::move(imported));
    } else {
        ReplaceRecords(std::move(imported));
    }
}

void Workspace::ImportRecords(const std::vector<std::string>& paths,
                              const travik::RecordReadOptions& options,
                              const std::function<void(const std::string&)>& showWarning) {
    travik::RecordList imported;
    travik::ImportRecordFilesAs(paths, options, settings_.g, imported, showWarning, showWarning);
    AcceptImport(std::move(imported), false);
}

void Workspace::ReplaceRecords(travik::RecordList records) {
    records_ = std::move(records);
    spectra_ = travik::SpectraResult{};
    emit recordsReplaced();
}

void Workspace::AppendRecords(travik::RecordList records) {
    if (records.IsEmpty()) {
        return;
    }
    records_.AppendAll(std::move(records));
    spectra_ = travik::SpectraResult{};
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

bool Workspace::CorrectRecord(int index, travik::BaselineCorrectionType type) {
    const bool corrected = travik::ApplyBaselineCorrection(records_.At(index), type, settings_.g);
    emit recordCorrected(index);
    return corrected;
}

travik::FilterOutcome Workspace::FilterRecord(int index,
                                              const std::optional<travik::FilterSettings>& filter) {
    const travik::FilterOutcome outcome =
        travik::ApplyFilter(records_.At(index), filter, settings_.g);
    if (outcome.ok) {
        emit recordCorrected(index);
    }
    return outcome;
}

void Workspace::SetSettings(const travik::AnalysisSettings& settings) {
    settings_ = settings;
    emit settingsChanged();
}

void Workspace::ComputeSpectra(
    int index, std::vector<double> dampingRatios,
    const std::function<void(const std::string&)>& showCalculationError) {
    travik::SortAndRemoveRepeatedRatios(dampingRatios);
    std::vector<double> periods;
    std::vector<double> frequencies;
    travik::BuildPeriodList(periods, frequencies, settings_.minPeriod, settings_.maxPeriod,
                            settings_.periodStep);
    spectra_ = travik::ComputeSpectra(records_.At(index), settings_, dampingRatios, periods);
    travik::ReportIncompleteDampings(spectra_, showCalculationError);
    emit spectraComputed();
}

void Workspace::AcceptSpectra(travik::SpectraResult result,
                              const std::function<void(const std::string&)>& showCalculationError) {
    spectra_ = std::move(result);
    travik::ReportIncompleteDampings(spectra_, showCalculationError);
    emit spectraComputed();
}

void Workspace::ReleaseAll() {
    records_.Clear();
    spectra_ = travik::SpectraResult{};
    emit recordsReplaced();
}
