#include "core/export/ReportFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>
#include <utility>

#include "core/export/TemporaryFiles.h"
#include "core/text/ShownText.h"

namespace travik {
namespace {

// Large enough that a report of millions of lines costs few system calls.
constexpr std::size_t kWriteBufferBytes = std::size_t{1} << 20;

// Folders limit a name's length (255 bytes on most file systems, fewer on some): a
// temporary name never exceeds the report's own name, or this many bytes, whichever is
// longer, so that a report whose name fits is never refused for its temporary one.
constexpr std::size_t kShortestNameLimit = 64;

// The longest start of `name` of at most `bytes` bytes that does not cut a UTF-8 sequence.
std::string Prefix(const std::string& name, std::size_t bytes) {
    if (name.size() <= bytes) {
        return name;
    }
    while (bytes > 0 && (static_cast<unsigned char>(name[bytes]) & 0xC0) == 0x80) {
        --bytes;
    }
    return name.substr(0, bytes);
}

// A name in the report's own folder that no other export is writing, so the finished
// report can replace the old one in a single rename.
std::filesystem::path TemporarySibling(const std::filesystem::path& path, unsigned salt) {
    const std::string finalName = path.filename().string();
    std::string tail(1, '.');
    tail.append(std::to_string(salt));
    tail.append(".tmp");
    const std::size_t limit = std::max(finalName.size(), kShortestNameLimit);
    const std::size_t room = limit > tail.size() + 1 ? limit - tail.size() - 1 : 0;
    std::string name(1, '.');
    name.append(Prefix(finalName, room));
    name.append(tail);
    return path.parent_path() / name;
}

std::string Failure(const char* what, const std::filesystem::path& path, const std::string& why) {
    std::string message(what);
    message += " \"";
    message += ShownText(path.string());
    message += "\". ";
    message += why;
    return message;
}

}  // namespace

ReportFile::ReportFile(std::filesystem::path path) : path_(std::move(path)) {
    std::random_device entropy;
    int openError = 0;
    for (int attempt = 0; attempt < 8 && file_ == nullptr; ++attempt) {
        temporary_ = TemporarySibling(path_, entropy());
        // "x": never take over a file that happens to carry the same temporary name.
        file_ = std::fopen(temporary_.string().c_str(), "wbx");
        openError = errno;
        if (file_ != nullptr) {
            signalSlot_ = TemporaryFiles::Register(temporary_.string().c_str());
        }
        if (file_ == nullptr && openError != EEXIST) {
            break;
        }
    }
    if (file_ == nullptr) {
        throw ReportWriteError(Failure("Cannot create file", path_, std::strerror(openError)));
    }
    std::setvbuf(file_, nullptr, _IOFBF, kWriteBufferBytes);
}

ReportFile::~ReportFile() {
    if (!committed_) {
        Abandon();
    }
}

void ReportFile::Abandon() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
    TemporaryFiles::Unregister(signalSlot_);
    signalSlot_ = -1;
}

void ReportFile::WriteLine(std::string_view line) {
    WriteBytes(line);
    WriteBytes("\r\n");
}

void ReportFile::WriteBytes(std::string_view bytes) {
    if (file_ == nullptr) {
        return;  // already committed or abandoned
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        const int error = errno;
        Abandon();
        throw ReportWriteError(Failure("Cannot write file", path_, std::strerror(error)));
    }
}

ReportLineSink ReportFile::Sink() {
    return [this](std::string_view line) { WriteLine(line); };
}

void ReportFile::Close() {
    if (file_ == nullptr) {
        return;
    }
    const bool flushFailed = std::fflush(file_) != 0 || std::ferror(file_) != 0;
    const int flushError = errno;
    const bool closeFailed = std::fclose(file_) != 0;
    const int closeError = errno;
    file_ = nullptr;
    if (flushFailed || closeFailed) {
        Abandon();
        throw ReportWriteError(Failure("Cannot write file", path_,
                                       std::strerror(flushFailed ? flushError : closeError)));
    }
    closed_ = true;
}

void ReportFile::Commit() {
    Close();
    if (!closed_ || committed_) {
        return;  // abandoned after a failure, or already in place
    }
    std::error_code renameError;
    std::filesystem::rename(temporary_, path_, renameError);
    if (renameError) {
        Abandon();
        throw ReportWriteError(Failure("Cannot create file", path_, renameError.message()));
    }
    committed_ = true;
    TemporaryFiles::Unregister(signalSlot_);
    signalSlot_ = -1;
}

}  // namespace travik
