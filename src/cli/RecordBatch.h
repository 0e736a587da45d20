#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "ImportOptions.h"
#include "RecordSpill.h"
#include "core/export/ReportFile.h"

namespace travik::cli {

// Many records with bounded memory, in two passes over the files, each with up to `jobs`
// files in memory at once. The survey reads every file once, prints what ImportRecords
// prints (reader messages, a filter that does not fit, baseline warnings) in the same
// order, and keeps of each record only its name and the caller's weight of its work. The
// report pass reads each file again, analyses its records and writes their reports on the
// worker threads, and commits them (stdout, stderr, the report put in place, the exit
// status) in the order of the files, so that nothing the user sees depends on `jobs`.

// Samples the survey keeps in memory in all, prepared for the report pass (about 12 MiB):
// a few small files are not read twice, and a batch's memory stays bounded. The raw records
// of the other files go to a temporary file (RecordSpill), from which the report pass takes
// them back while the file itself is unchanged: each file's text is parsed once.
inline constexpr std::size_t kKeptSamples = 256 * 1024;

struct SurveyedRecord {
    std::string sourceName;  // TimeHistory::SourceFileName()
    double work = 0.0;       // what the survey's `weigh` gave for it
    // What the report pass must find again, or the file changed in between.
    int sampleCount = 0;
    double timeStep = 0.0;  // s
};

struct ImportSurvey {
    int exitCode = kExitOk;  // kExitBadOption: an option or a filter misfit was refused
    bool readerFailed = false;
    bool correctionFailed = false;
    ImportPlan plan;
    // The records of each file read, in order; a failing file is the last (its records
    // before the failure, if it holds several, are kept).
    std::vector<std::vector<SurveyedRecord>> files;
    // Per file, its records as the report pass prepares them, where the survey could keep
    // them within kKeptSamples in all; the report pass then need not read them again.
    std::vector<std::shared_ptr<const RecordList>> kept;
    // Per file not kept, where its raw records were spilled and the file's stamp when it was
    // read; the report pass reads the file again only when either is missing or the file
    // has changed since.
    struct Spilled {
        RecordSpill::Place place;
        FileStamp stamp;
    };
    std::vector<std::optional<Spilled>> spilled;
    std::shared_ptr<RecordSpill> spill;

    double TotalWork() const;
};

using RecordWeigher = std::function<double(const TimeHistory&)>;

// The first pass. Exceptions other than a reader's own failures (an unforeseen error) are
// raised on the calling thread, after the files before it have been printed.
ImportSurvey SurveyImport(const ImportOptions& options, std::size_t jobs,
                          const RecordWeigher& weigh, std::ostream& err);

// Reads the record of the most work (the first of them) again, prepared as the report pass
// prepares it, and hands it to `use`; false when it cannot be read now.
bool WithLargestSurveyedRecord(const ImportOptions& options, const ImportSurvey& survey,
                               const std::function<void(const TimeHistory&)>& use);

// One record's work in the report pass: `threads` it may use for itself (more when few
// records are left than `jobs`), and `say` for its messages on stderr, which come out in
// the order of the records, as they are written when it is the record's turn.
struct RecordTask {
    using Say = std::function<void(std::string_view text)>;
    const TimeHistory& record;
    int threads = 1;
    Say say;
};

// Writes the report of one record into the sink; returns false when the record gets no
// report after all (nothing of it is then left on disk).
using RecordTaskWriter = std::function<bool(const ReportLineSink&, const RecordTask&)>;

// The report pass: each record's report goes to <out>/<name><suffix> as WriteRecordReports
// names it, its path is printed on `out` when its turn comes, and the first report that
// cannot be written ends the run (its error on `err`; no later report is put in place).
// Returns the command's exit code, as WriteRecordReports. Exceptions other than those
// of writing are raised on the calling thread after the records before them are committed.
int WriteSurveyedReports(const ImportOptions& options, const ImportSurvey& survey,
                         std::string_view suffix, std::size_t jobs,
                         const RecordTaskWriter& writeReport, std::ostream& out, std::ostream& err);

}  // namespace travik::cli
