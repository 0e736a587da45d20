#include "RecordBatch.h"

#include <exception>
#include <filesystem>
#include <functional>
#include <iterator>
#include <memory>
#include <new>
#include <optional>
#include <utility>

#include "OrderedWork.h"
#include "WorkspaceOptions.h"
#include "core/export/ReportHeader.h"
#include "core/records/RecordIntegration.h"
#include "core/text/ShownText.h"

namespace travik::cli {
namespace {

// What the survey keeps of a record besides its name and weight: the texts it may print.
struct RecordChecks {
    std::optional<std::string> filterMisfit;
    std::string correctionText;  // a baseline warning or error, a filter warning, or nothing
    bool correctionFailed = false;
};

struct FileSurvey {
    std::string readerText;
    bool read = true;
    std::vector<SurveyedRecord> records;
    std::vector<RecordChecks> checks;
    std::exception_ptr unforeseen;
    std::shared_ptr<RecordList> prepared;  // the records as the report pass prepares them
    std::size_t samples = 0;
    std::optional<FileStamp> stamp;  // taken before the file was read
};

FileSurvey SurveyFile(const ImportOptions& options, const ImportPlan& common, std::size_t file,
                      const RecordWeigher& weigh) {
    FileSurvey survey;
    try {
        survey.stamp = StampOf(options.files[file]);
        auto records = std::make_shared<RecordList>();
        const FileReading reading = ReadRecordFileInto(
            PlanOfFile(options.workspace.get(), common, file), options.files[file], *records);
        survey.read = reading.ok;
        survey.readerText = AsLines(reading.messages);
        // Prepared as the report pass prepares them (the filter prints nothing), so that
        // they can be kept for it.
        bool allPrepared = true;
        for (int i = 0; i < records->Count(); ++i) {
            TimeHistory& record = records->At(i);
            survey.records.push_back({record.SourceFileName(), weigh ? weigh(record) : 0.0,
                                      record.SampleCount(), record.TimeStep()});
            survey.samples += static_cast<std::size_t>(record.SampleCount());
            RecordChecks checks;
            const ImportPlan& plan =
                PlanOfRecord(options.workspace.get(), common, file, static_cast<std::size_t>(i));
            checks.filterMisfit = FilterMisfitLine(plan, record);
            if (!checks.filterMisfit) {
                const RecordPreparation preparation = PrepareRecord(plan, record);
                checks.correctionFailed = !preparation.corrected;
                checks.correctionText = preparation.message ? *preparation.message + '\n' : "";
                if (preparation.filterWarning) {
                    checks.correctionText += *preparation.filterWarning + '\n';
                }
            }
            allPrepared = allPrepared && !checks.filterMisfit;
            survey.checks.push_back(std::move(checks));
        }
        if (allPrepared) {
            survey.prepared = std::move(records);  // kept in memory or spilled when committed
        }
    } catch (...) {
        survey.unforeseen = std::current_exception();
    }
    return survey;
}

// A report written and closed on a worker thread, waiting for its turn to be put in place;
// or the error that ended its file's reports.
struct ReportDraft {
    std::filesystem::path path;
    std::unique_ptr<ReportFile> file;
    std::string error;
};

struct FileReports {
    std::vector<ReportDraft> drafts;
    bool skipped = false;
    std::string failure;
    std::exception_ptr unforeseen;
};

bool SameRecords(const RecordList& records, const std::vector<SurveyedRecord>& surveyed) {
    if (records.Count() != static_cast<int>(surveyed.size())) {
        return false;
    }
    for (int i = 0; i < records.Count(); ++i) {
        // A file that shrank or grew in between (same names, other samples) is not the one
        // surveyed either.
        const TimeHistory& record = records.At(i);
        const SurveyedRecord& seen = surveyed[static_cast<std::size_t>(i)];
        if (record.SourceFileName() != seen.sourceName ||
            record.SampleCount() != seen.sampleCount || record.TimeStep() != seen.timeStep) {
            return false;
        }
    }
    return true;
}

// A file's records as the survey read them, without parsing its text again where the
// survey kept them (`kept`, prepared) or spilled them (into `read`, raw; integrated and
// prepared here) and the file has not changed since; else nothing, and the caller reads it.
const RecordList* Recall(const ImportOptions& options, const ImportSurvey& survey, std::size_t file,
                         RecordList& read) {
    if (file < survey.kept.size() && survey.kept[file]) {
        return survey.kept[file].get();
    }
    if (file >= survey.spilled.size() || !survey.spilled[file] || !survey.spill) {
        return nullptr;
    }
    const ImportSurvey::Spilled& spilled = *survey.spilled[file];
    if (StampOf(options.files[file]) != spilled.stamp) {
        return nullptr;  // changed or gone: reading it again tells how
    }
    try {
        RecordList taken;
        if (!survey.spill->Take(spilled.place, taken) || !SameRecords(taken, survey.files[file])) {
            return nullptr;
        }
        const double gravity = PlanOfFile(options.workspace.get(), survey.plan, file).gravity;
        for (int i = 0; i < taken.Count(); ++i) {
            // As the reader's import integrates it; it was finite when the survey read it.
            if (IntegrateImportedRecord(taken.At(i), gravity)) {
                return nullptr;
            }
            PrepareRecord(PlanOfRecord(options.workspace.get(), survey.plan, file,
                                       static_cast<std::size_t>(i)),
                          taken.At(i));
        }
        read.AppendAll(std::move(taken));
        return &read;
    } catch (const std::bad_alloc&) {
        return nullptr;  // reading the file again says what memory allows
    }
}

}  // namespace

double ImportSurvey::TotalWork() const {
    double total = 0.0;
    for (const std::vector<SurveyedRecord>& file : files) {
        for (const SurveyedRecord& record : file) {
            total += record.work;
        }
    }
    return total;
}

ImportSurvey SurveyImport(const ImportOptions& options, std::size_t jobs,
                          const RecordWeigher& weigh, std::ostream& err) {
    ImportSurvey survey;
    if (!options.workspace && !MakeImportPlan(options, survey.plan, err)) {
        survey.exitCode = kExitBadOption;
        return survey;
    }
    // A workspace's missing files are named first; the others are read all the same.
    const bool filesMissing = TellWorkspaceNotes(options.workspace.get(), err);
    std::vector<RecordChecks> checks;
    std::exception_ptr unforeseen;
    std::size_t keptSamples = 0;
    survey.spill = std::make_shared<RecordSpill>();
    ProcessInOrder<FileSurvey>(
        options.files.size(), jobs,
        [&](std::size_t index) { return SurveyFile(options, survey.plan, index, weigh); },
        [&](FileSurvey& file) {
            err << file.readerText;
            if (file.unforeseen) {
                unforeseen = file.unforeseen;
                return false;
            }
            survey.files.push_back(std::move(file.records));
            survey.spilled.emplace_back();
            if (file.prepared && keptSamples + file.samples <= kKeptSamples) {
                keptSamples += file.samples;
                survey.kept.push_back(std::move(file.prepared));
            } else {
                survey.kept.push_back(nullptr);
                if (file.prepared && file.stamp) {
                    if (const auto place = survey.spill->Put(*file.prepared)) {
                        survey.spilled.back() = ImportSurvey::Spilled{*place, *file.stamp};
                    }
                }
            }
            std::move(file.checks.begin(), file.checks.end(), std::back_inserter(checks));
            survey.readerFailed = filesMissing || !file.read;
            return file.read;
        });
    survey.readerFailed = survey.readerFailed || filesMissing;
    if (unforeseen) {
        std::rethrow_exception(unforeseen);
    }

    // A filter that does not fit one of the records rejects the run before anything is
    // written.
    for (const RecordChecks& record : checks) {
        if (record.filterMisfit) {
            err << *record.filterMisfit << '\n';
            survey.exitCode = kExitBadOption;
            return survey;
        }
    }
    for (const RecordChecks& record : checks) {
        err << record.correctionText;
        survey.correctionFailed = survey.correctionFailed || record.correctionFailed;
    }
    return survey;
}

bool WithLargestSurveyedRecord(const ImportOptions& options, const ImportSurvey& survey,
                               const std::function<void(const TimeHistory&)>& use) {
    std::size_t file = 0;
    std::size_t index = 0;
    double largest = -1.0;
    for (std::size_t f = 0; f < survey.files.size(); ++f) {
        for (std::size_t r = 0; r < survey.files[f].size(); ++r) {
            if (survey.files[f][r].work > largest) {
                largest = survey.files[f][r].work;
                file = f;
                index = r;
            }
        }
    }
    if (largest < 0.0) {
        return false;
    }
    // The survey has printed what reading and preparing it says.
    RecordList recalled;
    if (const RecordList* records = Recall(options, survey, file, recalled)) {
        use(records->At(static_cast<int>(index)));
        return true;
    }
    RecordList records;
    ReadRecordFileInto(PlanOfFile(options.workspace.get(), survey.plan, file), options.files[file],
                       records);
    if (!SameRecords(records, survey.files[file])) {
        return false;
    }
    TimeHistory& record = records.At(static_cast<int>(index));
    PrepareRecord(PlanOfRecord(options.workspace.get(), survey.plan, file, index), record);
    use(record);
    return true;
}

namespace {

using ReportPaths = std::vector<std::vector<std::filesystem::path>>;

// Names are handed out in the order of the records, as a single pass would.
ReportPaths PlanReportPaths(const ImportOptions& options, const ImportSurvey& survey,
                            std::string_view suffix) {
    const std::filesystem::path folder(options.outputFolder);
    ReportPathPlanner planner;
    ReportPaths paths;
    for (const std::vector<SurveyedRecord>& file : survey.files) {
        std::vector<std::filesystem::path>& filePaths = paths.emplace_back();
        for (const SurveyedRecord& record : file) {
            filePaths.push_back(planner.Next(folder, record.sourceName, suffix));
        }
    }
    return paths;
}

// Reads and prepares file `index` again into `read` when the survey kept none of it.
// Returns the records to write, or nothing with `reports.failure` set when this reading
// fails where the survey's did not (memory ran out, the file was changed or removed in
// between): the survey has printed the reader's and the correction's messages already.
const RecordList* RecordsToReport(const ImportOptions& options, const ImportSurvey& survey,
                                  std::size_t index, RecordList& read, FileReports& reports) {
    if (const RecordList* recalled = Recall(options, survey, index, read)) {
        return recalled;
    }
    const std::string& source = options.files[index];
    const FileReading reading =
        ReadRecordFileInto(PlanOfFile(options.workspace.get(), survey.plan, index), source, read);
    if (!SameRecords(read, survey.files[index])) {
        reports.failure = reading.ok ? std::string() : AsLines(reading.messages);
        if (reports.failure.empty()) {
            reports.failure = "FILE: " + ShownText(source) +
                              ", ERROR: The file changed while its reports were "
                              "being written: its reports are not written\n";
        }
        return nullptr;
    }
    for (int i = 0; i < read.Count(); ++i) {
        PrepareRecord(
            PlanOfRecord(options.workspace.get(), survey.plan, index, static_cast<std::size_t>(i)),
            read.At(i));
    }
    return &read;
}

// Writes each record's report to its temporary file, in order, up to the first that
// cannot be written.
void DraftReports(const RecordList& records, const std::vector<std::filesystem::path>& paths,
                  const RecordTaskWriter& writeReport, int threads, const RecordTask::Say& say,
                  FileReports& reports) {
    for (int i = 0; i < records.Count(); ++i) {
        const TimeHistory& record = records.At(i);
        const std::filesystem::path& path = paths[static_cast<std::size_t>(i)];
        try {
            auto file = std::make_unique<ReportFile>(path);
            const RecordTask task{record, threads, say};
            if (!writeReport(file->Sink(), task)) {
                reports.skipped = true;
                continue;  // the file abandons its temporary copy
            }
            file->Close();
            reports.drafts.push_back({path, std::move(file), {}});
        } catch (const ReportWriteError& error) {
            reports.drafts.push_back({path, nullptr, error.what()});
            break;
        } catch (const std::bad_alloc&) {
            reports.drafts.push_back(
                {path, nullptr,
                 "Not enough memory to write file \"" + ShownText(path.string()) + "\""});
            break;
        }
    }
}

// Puts the drafted reports of each file in place in the files' order, printing each path,
// and stops at the first failure.
class ReportCommitter {
  public:
    ReportCommitter(OrderedText& messages, std::ostream& out, std::ostream& err)
        : messages_(messages), out_(out), err_(err) {}

    bool operator()(FileReports& reports) {
        for (ReportDraft& draft : reports.drafts) {
            if (!draft.error.empty()) {
                return Fail(draft.error);
            }
            try {
                draft.file->Commit();
            } catch (const ReportWriteError& error) {
                return Fail(error.what());
            }
            out_ << ShownText(draft.path.string()) << '\n';
        }
        if (reports.unforeseen) {
            unforeseen = reports.unforeseen;
            return false;
        }
        if (!reports.failure.empty()) {
            err_ << reports.failure;
            failed = true;
            return false;
        }
        skipped = skipped || reports.skipped;
        messages_.Advance();
        return true;
    }

    bool failed = false;
    bool skipped = false;
    std::exception_ptr unforeseen;

  private:
    bool Fail(const std::string& message) {
        err_ << message << '\n';
        failed = true;
        return false;
    }

    OrderedText& messages_;
    std::ostream& out_;
    std::ostream& err_;
};

}  // namespace

int WriteSurveyedReports(const ImportOptions& options, const ImportSurvey& survey,
                         std::string_view suffix, std::size_t jobs,
                         const RecordTaskWriter& writeReport, std::ostream& out,
                         std::ostream& err) {
    const ReportPaths paths = PlanReportPaths(options, survey, suffix);
    const std::size_t count = survey.files.size();
    OrderedText messages(err);
    const auto process = [&](std::size_t index) {
        FileReports reports;
        if (survey.files[index].empty()) {
            return reports;
        }
        try {
            RecordList read;
            const RecordList* records = RecordsToReport(options, survey, index, read, reports);
            if (records == nullptr) {
                return reports;
            }
            const RecordTask::Say say = [&messages, index](std::string_view text) {
                messages.Write(index, text);
            };
            DraftReports(*records, paths[index], writeReport, ThreadsForItem(index, count, jobs),
                         say, reports);
        } catch (...) {
            reports.unforeseen = std::current_exception();
        }
        return reports;
    };
    ReportCommitter commit(messages, out, err);
    // By reference: the committer keeps what it met for the exit code.
    ProcessInOrder<FileReports>(count, jobs, process, std::ref(commit));
    if (commit.unforeseen) {
        std::rethrow_exception(commit.unforeseen);
    }
    if (commit.failed) {
        return kExitFailure;
    }
    return survey.readerFailed || survey.correctionFailed || commit.skipped ? kExitFailure
                                                                            : kExitOk;
}

}  // namespace travik::cli
