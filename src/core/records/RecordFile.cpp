#include "core/records/RecordFile.h"

#include <filesystem>
#include <system_error>

#include "core/text/NumberFormat.h"
#include "core/text/ShownText.h"

namespace travik {
namespace {

const char* KindOf(std::filesystem::file_type type) {
    switch (type) {
        case std::filesystem::file_type::directory:
            return "a folder";
        case std::filesystem::file_type::fifo:
            return "a named pipe (FIFO)";
        case std::filesystem::file_type::character:
            return "a character device";
        case std::filesystem::file_type::block:
            return "a block device";
        case std::filesystem::file_type::socket:
            return "a socket";
        default:
            return "not a file";
    }
}

}  // namespace

std::string QuotedRecordFilePath(const std::string& path) {
    std::error_code ignored;
    const std::filesystem::path full = std::filesystem::absolute(path, ignored);
    std::string quoted(1, '"');
    quoted += ShownText(full.empty() ? path : full.string());
    quoted += '"';
    return quoted;
}

std::optional<std::string> CheckRecordFileEntry(const std::string& path, std::uintmax_t maxBytes) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) {
        return std::nullopt;
    }
    if (!std::filesystem::is_regular_file(status)) {
        return "Cannot open file " + QuotedRecordFilePath(path) +
               ". It is not a regular file but " + KindOf(status.type()) + ".";
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > maxBytes) {
        return "Cannot open file " + QuotedRecordFilePath(path) + ". It holds " +
               FormatInteger(static_cast<long long>(size)) + " bytes, more than the " +
               FormatInteger(static_cast<long long>(maxBytes)) + " bytes a record file may have.";
    }
    return std::nullopt;
}

}  // namespace travik
