#include "RecordSpill.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

namespace travik::cli {
namespace {

// Samples read back at a time: a bounded buffer, however long the record.
constexpr std::size_t kChunkSamples = 64 * 1024;

template <class T>
bool Write(std::FILE* file, const T& value) {
    return std::fwrite(&value, sizeof(T), 1, file) == 1;
}

template <class T>
bool Read(std::FILE* file, T& value) {
    return std::fread(&value, sizeof(T), 1, file) == 1;
}

}  // namespace

std::optional<RecordSpill::Place> RecordSpill::Put(const RecordList& records) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!file_ && !unusable_) {
        file_.reset(std::tmpfile());
        unusable_ = !file_;
    }
    if (unusable_) {
        return std::nullopt;
    }
    std::FILE* file = file_.get();
    bool written = std::fseek(file, static_cast<long>(end_), SEEK_SET) == 0 &&
                   Write(file, static_cast<std::uint64_t>(records.Count()));
    for (int i = 0; written && i < records.Count(); ++i) {
        const TimeHistory& record = records.At(i);
        const std::string& name = record.SourceFileName();
        const DOUBLEVECTOR& samples = record.RawAcceleration();
        written = Write(file, static_cast<std::uint64_t>(name.size())) &&
                  std::fwrite(name.data(), 1, name.size(), file) == name.size() &&
                  Write(file, record.TimeStep()) &&
                  Write(file, static_cast<std::uint64_t>(samples.size())) &&
                  // An empty vector may hold no buffer at all, which fwrite must not be given.
                  (samples.empty() || std::fwrite(samples.data(), sizeof(double), samples.size(),
                                                  file) == samples.size());
    }
    const long end = written ? std::ftell(file) : -1;
    if (end < 0) {
        unusable_ = true;  // a full disk: what is already there stays readable
        return std::nullopt;
    }
    const Place place{end_, static_cast<std::uint64_t>(end) - end_};
    end_ = static_cast<std::uint64_t>(end);
    return place;
}

bool RecordSpill::Take(const Place& place, RecordList& records) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::FILE* file = file_.get();
    if (!file || place.offset + place.bytes > end_ ||
        std::fseek(file, static_cast<long>(place.offset), SEEK_SET) != 0) {
        return false;
    }
    std::uint64_t count = 0;
    if (!Read(file, count)) {
        return false;
    }
    RecordList taken;
    std::vector<double> chunk;
    for (std::uint64_t r = 0; r < count; ++r) {
        std::uint64_t nameBytes = 0;
        if (!Read(file, nameBytes) || nameBytes > place.bytes) {
            return false;
        }
        std::string name(static_cast<std::size_t>(nameBytes), '\0');
        double timeStep = 0.0;
        std::uint64_t samples = 0;
        if (std::fread(name.data(), 1, name.size(), file) != name.size() || !Read(file, timeStep) ||
            !Read(file, samples) || samples > place.bytes / sizeof(double)) {
            return false;
        }
        auto record = std::make_unique<TimeHistory>(std::move(name), timeStep);
        for (std::uint64_t left = samples; left > 0;) {
            chunk.resize(static_cast<std::size_t>(std::min<std::uint64_t>(left, kChunkSamples)));
            if (std::fread(chunk.data(), sizeof(double), chunk.size(), file) != chunk.size()) {
                return false;
            }
            for (const double value : chunk) {
                record->AppendAcceleration(value);
            }
            left -= chunk.size();
        }
        taken.Append(std::move(record));
    }
    records.AppendAll(std::move(taken));
    return true;
}

std::optional<FileStamp> StampOf(const std::filesystem::path& path) {
    std::error_code error;
    FileStamp stamp;
    stamp.size = std::filesystem::file_size(path, error);
    if (error) {
        return std::nullopt;
    }
    stamp.changed = std::filesystem::last_write_time(path, error);
    if (error) {
        return std::nullopt;
    }
    return stamp;
}

}  // namespace travik::cli
