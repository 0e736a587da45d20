#include "app/Workspace.h"

#include <QCoreApplication>
#include <utility>

#include "analysis/DampingValues.h"

Workspace::Workspace(QObject* parent)
    : QObject(parent), exportFolder_(QCoreApplication::applicationDirPath()) {}

void Workspace::ImportRecords(const std::vector<std::string>& paths,
                              const travik::FreeFormatParameters& parameters,
                              const std::function<void(const std::string&)>& showWarning) {
    travik::RecordList imported;
    travik::ImportRecordFiles(paths, parameters, settings_.g, imported, showWarning);
    ReplaceRecords(std::move(imported));
}

void Workspace::ReplaceRecords(travik::RecordList records) {
    records_ = std::move(records);
    travik::ClearSpectrumColumns(spectra_);
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

void Workspace::PrepareSpectra(std::vector<double> dampingRatios) {
    travik::SortAndRemoveRepeatedRatios(dampingRatios);
    spectra_.dampingRatios = std::move(dampingRatios);
    travik::BuildPeriodList(spectra_.periods, spectra_.frequencies, settings_.minPeriod,
                            settings_.maxPeriod, settings_.periodStep);
}

void Workspace::ComputeSpectra(
    int index, const std::function<void(const std::string&)>& showCalculationError) {
    travik::ClearSpectrumColumns(spectra_);
    travik::RunSpectrumAnalysis(spectra_, records_.At(index), settings_, showCalculationError);
    analysedLists_.dampingRatios = spectra_.dampingRatios;
    analysedLists_.periods = spectra_.periods;
    analysedLists_.frequencies = spectra_.frequencies;
    emit spectraComputed();
}

void Workspace::ClearSpectra() {
    travik::ClearSpectrumColumns(spectra_);
}

void Workspace::ReleaseAll() {
    records_.Clear();
    spectra_ = travik::SpectrumStore{};
    emit recordsReplaced();
}
