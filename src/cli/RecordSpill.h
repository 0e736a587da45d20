#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>

#include "core/records/TimeHistory.h"

namespace travik::cli {

// The raw records of files that a batch's first pass parsed but could not keep in memory,
// written as binary doubles to an anonymous temporary file (std::tmpfile: the system removes
// it when it is closed or the program ends, however it ends), so that the report pass
// takes them back instead of parsing the file's text a second time. Usable from several
// threads at once.
class RecordSpill {
  public:
    // Where one file's records lie in the temporary file.
    struct Place {
        std::uint64_t offset = 0;
        std::uint64_t bytes = 0;
    };

    // Writes each record's name, time step and raw acceleration (as read, before any
    // correction). Nothing when the temporary file cannot be made or written: the report
    // pass then reads the record file again.
    std::optional<Place> Put(const RecordList& records);

    // The records put at `place`, raw, as a reader made them (not yet integrated); false
    // when they cannot be read back.
    bool Take(const Place& place, RecordList& records) const;

  private:
    mutable std::mutex mutex_;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_{nullptr, &std::fclose};
    bool unusable_ = false;
    std::uint64_t end_ = 0;
};

// What tells a file's content apart without reading it: its size and last change. Nothing
// when the file cannot be looked at.
struct FileStamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type changed;

    bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> StampOf(const std::filesystem::path& path);

}  // namespace travik::cli
