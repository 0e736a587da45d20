#include "app/Workspace.h"

#include <QCoreApplication>
#include <utility>

#include "analysis/CalculationErrors.h"
#include "analysis/DampingValues.h"

Workspace::Workspace(QObject* parent)
    : QObject(parent), exportFolder_(QCoreApplication::applicationDirPath()) {}

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
    spectra_ = travik::SpectraResult{};
    emit recordsReplaced();
}
