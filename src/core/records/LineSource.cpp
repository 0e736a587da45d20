#include "core/records/LineSource.h"

#include <cerrno>
#include <cstring>

namespace travik {
namespace {

constexpr std::size_t kBlockSize = 65536;

}  // namespace

LineSource::LineSource(std::string_view text) : text_(text), fileEnded_(true) {}

LineSource::LineSource(std::FILE* file) : file_(file) {}

bool LineSource::Fill() {
    if (fileEnded_) {
        return false;
    }
    buffer_.erase(0, position_);
    position_ = 0;
    const std::size_t old = buffer_.size();
    buffer_.resize(old + kBlockSize);
    const std::size_t count = std::fread(buffer_.data() + old, 1, kBlockSize, file_);
    buffer_.resize(old + count);
    if (count < kBlockSize) {
        fileEnded_ = true;
        if (std::ferror(file_) != 0) {
            error_ = std::string("the file cannot be read: ") + std::strerror(errno);
        }
    }
    text_ = buffer_;
    return count > 0;
}

void LineSource::PutBack() {
    if (lineNumber_ > 0 && !repeat_) {
        repeat_ = true;
        --lineNumber_;
    }
}

bool LineSource::Next(std::string_view& line) {
    if (repeat_) {
        repeat_ = false;
        ++lineNumber_;
        line = last_;
        return true;
    }
    if (Failed()) {
        return false;
    }
    if (file_ != nullptr && text_.empty()) {
        Fill();
    }
    if (atStart_) {
        // Wait for three bytes before deciding on a byte-order mark.
        while (file_ != nullptr && text_.size() < 3 && !fileEnded_) {
            Fill();
        }
        if (text_.substr(position_).starts_with("\xEF\xBB\xBF")) {
            position_ += 3;
        }
        atStart_ = false;
    }
    std::size_t end = position_;
    for (;;) {
        while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r' &&
               text_[end] != '\0') {
            ++end;
        }
        if (end - position_ > kMaxLineLength) {
            error_ = "line " + std::to_string(lineNumber_ + 1) + " is longer than " +
                     std::to_string(kMaxLineLength) + " characters: this is not a record file";
            return false;
        }
        // A CR at the end of a block may be the first half of CR LF: read on to see.
        const bool needMore =
            end == text_.size() || (text_[end] == '\r' && end + 1 == text_.size());
        if (!needMore || file_ == nullptr || fileEnded_) {
            break;
        }
        const std::size_t offset = end - position_;
        Fill();
        end = position_ + offset;
    }
    if (Failed()) {
        return false;
    }
    if (end < text_.size() && text_[end] == '\0') {
        error_ = "line " + std::to_string(lineNumber_ + 1) +
                 " holds a NUL character: this is binary data, not a record file";
        return false;
    }
    if (position_ >= text_.size()) {
        return false;
    }
    line = text_.substr(position_, end - position_);
    last_ = line;
    ++lineNumber_;
    if (end < text_.size()) {
        end += (text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n') ? 2 : 1;
    }
    position_ = end;
    return true;
}

}  // namespace travik
