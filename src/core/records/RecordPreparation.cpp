#include "core/records/RecordPreparation.h"

#include <new>

#include "core/records/CorrectedSet.h"
#include "core/records/RecordFilter.h"
#include "core/text/ShownText.h"

namespace travik {

FileReading ReadRecordFileInto(const ImportPlan& plan, const std::string& path,
                               RecordList& records) {
    FileReading reading;
    const auto keep = [&reading](const std::string& message) {
        reading.messages.push_back(message);
    };
    reading.ok = ImportRecordFilesAs({path}, plan.read, plan.gravity, records, keep, keep);
    return reading;
}

std::optional<FilterProblem> FilterMisfit(const ImportPlan& plan, const TimeHistory& record) {
    if (!plan.filter) {
        return std::nullopt;
    }
    return plan.filter->Check(record.TimeStep(), record.SampleCount());
}

RecordPreparation PrepareRecord(const ImportPlan& plan, TimeHistory& record) {
    RecordPreparation preparation;
    if (plan.baseline != BaselineCorrectionType::None) {
        // A record the fit is not defined for (one sample, all zeros) stays uncorrected and
        // is reported as such; the message names it so the user knows which one.
        try {
            preparation.corrected = ApplyBaselineCorrection(record, plan.baseline, plan.gravity);
        } catch (const std::bad_alloc&) {
            preparation.corrected = false;
            preparation.message =
                "FILE: " + ShownText(record.SourceFileName()) +
                ", ERROR: Not enough memory to correct the baseline of the record";
            return preparation;
        }
        if (!preparation.corrected) {
            preparation.message = "FILE: " + ShownText(record.SourceFileName()) +
                                  ", WARNING: " + kBaselineCorrectionFailedMessage;
        }
    }
    if (plan.filter) {
        const FilterOutcome outcome = ApplyFilter(record, plan.filter, plan.gravity);
        if (outcome.warning) {
            preparation.filterWarning =
                "FILE: " + ShownText(record.SourceFileName()) + ", WARNING: " + *outcome.warning;
        }
    }
    return preparation;
}

PreparedFile PrepareRecordFile(const ImportPlan& plan, const std::string& path) {
    PreparedFile file;
    file.reading = ReadRecordFileInto(plan, path, file.records);
    for (int i = 0; i < file.records.Count(); ++i) {
        if (std::optional<FilterProblem> misfit = FilterMisfit(plan, file.records.At(i))) {
            file.misfit = std::move(misfit);
            file.misfitRecord = file.records.At(i).SourceFileName();
            return file;
        }
    }
    for (int i = 0; i < file.records.Count(); ++i) {
        RecordPreparation preparation = PrepareRecord(plan, file.records.At(i));
        file.correctionFailed = file.correctionFailed || !preparation.corrected;
        if (preparation.message) {
            file.preparationMessages.push_back(std::move(*preparation.message));
        }
        if (preparation.filterWarning) {
            file.preparationMessages.push_back(std::move(*preparation.filterWarning));
        }
    }
    return file;
}

}  // namespace travik
