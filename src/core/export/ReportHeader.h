#pragma once

#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/export/ReportFile.h"
#include "core/records/TimeHistory.h"

namespace travik {

// The lines of one report, for views that keep them (reports written to files are
// streamed through a ReportFile instead).
using ReportLines = std::vector<std::string>;

inline constexpr const char* kSoftwareEdition = "20150902";
inline constexpr int kMaxExportNumber = 8;
inline constexpr const char* kTimeHistoryReportSuffix = "_TH.csv";
inline constexpr const char* kSpectraReportSuffix = "_RS.csv";

// A calendar day in the local time zone, as written in line 5 of the header.
struct ReportDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

ReportDate TodayLocalDate();

// Writes the seven header lines to `sink`, as AppendReportHeader appends them.
void WriteReportHeader(const ReportLineSink& sink, const TimeHistory& record,
                       std::string_view edition, const ReportDate& date);

// Appends the seven header lines (program, attribution, edition, blank, date, source file,
// baseline correction, followed by "; " and the filter when the record is filtered). The
// source file name is written as valid UTF-8 with control characters escaped (ShownText)
// and quoted as a CSV field when it holds a comma or a quote. Does not empty `lines`.
void AppendReportHeader(ReportLines& lines, const TimeHistory& record, std::string_view edition,
                        const ReportDate& date);

// The source file name without its extension (everything from the last dot on).
std::string ReportBaseName(std::string_view sourceFileName);

// ReportBaseName made safe as the start of a report's file name: separators and control
// characters become '_', at most 200 bytes (never cutting a UTF-8 sequence), and a name of
// dots alone becomes "record", so no report leaves its folder.
std::string ReportFileBase(std::string_view sourceFileName);

// Hands out the report paths of one export: folder, separator, ReportFileBase, suffix. A path
// already handed out by the same export gets "_2", "_3", ... before the suffix, so that two
// records of the same name never overwrite each other's report.
class ReportPathPlanner {
  public:
    std::filesystem::path Next(const std::filesystem::path& folder, std::string_view sourceFileName,
                               std::string_view suffix);

  private:
    std::map<std::filesystem::path, int> used_;
};

// Creates or replaces the file and writes every line followed by CR LF, UTF-8 without a
// byte-order mark (through a ReportFile). On failure no partial file is left behind and
// ReportWriteError is thrown.
void WriteReport(const std::filesystem::path& path, const ReportLines& lines);

// Creates or replaces the file with exactly `content` (an image, for one), with the same
// guarantees and messages as WriteReport.
void WriteFileContents(const std::filesystem::path& path, std::string_view content);

}  // namespace travik
