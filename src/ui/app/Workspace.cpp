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
    ReplaceRecords(std::move(imported));
}

void Workspace::ImportRecords(const std::vector<std::string>& paths,
                              const travik::RecordReadOptions& options,
                              const std::function<void(const std::string&)>& showWarning) {
    travik::RecordList imported;
    travik::ImportRecordFilesAs(paths, options, settings_.g, imported, showWarning, showWarning);
    ReplaceRecords(std::move(imported));
}

void Workspace::ReplaceRecords(travik::RecordList records) {
    records_ = std::move(records);
    spectra_ = travik::SpectraResult{};
    emit recordsReplaced();
}

void Workspace::Clear() {
    ReplaceRecords(travik::RecordList{});
}

bool Workspace::CorrectRecord(int index, travik::BaselineCorrectionType type) {
    const bool corrected = travik::ApplyBaselineCorrection(records_.At(index), type, settings_.g);
    emit recordCorrected(index);
    return corrected;
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

void Workspace::ReleaseAll() {
    records_.Clear();
    spectra_ = travik::SpectraResult{};
    emit recordsReplaced();
}
