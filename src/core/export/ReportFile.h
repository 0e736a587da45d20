#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace travik {

// Raised when a report cannot be created or written; what() is the user-facing text.
class ReportWriteError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Receives a report's lines one by one, without line ends, as they are formatted.
using ReportLineSink = std::function<void(std::string_view line)>;

// One report being written: the lines go, as they come, to a temporary file beside the
// report (so no report is ever held whole in memory), and only Commit() puts the finished
// file in the report's place, in one rename. A report that is abandoned (not committed,
// or failed) leaves no file behind and any earlier report of that name intact. Lines end
// with CR LF; the text is written as given (UTF-8, no byte-order mark). Failures throw
// ReportWriteError with the user-facing text. The temporary file is registered with
// TemporaryFiles, so a program ended by a signal can remove it.
class ReportFile {
  public:
    explicit ReportFile(std::filesystem::path path);
    ~ReportFile();
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    void WriteLine(std::string_view line);
    // Bytes as they are, with no line end added.
    void WriteBytes(std::string_view bytes);
    ReportLineSink Sink();
    // Writes out what is buffered and closes the temporary file, so that only the rename
    // is left; a failure (a full disk) is raised here. The finished file stays hidden until
    // Commit(), or is removed when the report is abandoned. Called by Commit() if need be.
    void Close();
    void Commit();

  private:
    void Abandon();

    std::filesystem::path path_;
    std::filesystem::path temporary_;
    std::FILE* file_ = nullptr;
    bool closed_ = false;
    bool committed_ = false;
    int signalSlot_ = -1;  // TemporaryFiles' slot of the temporary file, -1 for none
};

}  // namespace travik
