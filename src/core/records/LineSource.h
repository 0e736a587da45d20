#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace travik {

// The lines of a record file, one at a time, from memory or streamed from an open file in
// 64 KiB blocks, so that a reader can stop at the first bad line without having read the
// rest of a large file. Lines end at CR LF, LF or a lone CR; a break at the very end starts
// no further line; a UTF-8 byte-order mark at the start is dropped.
class LineSource {
  public:
    // Longest line accepted (characters): record files have lines of at most a few hundred
    // characters, so a longer one means the file is not a record file at all.
    static constexpr std::size_t kMaxLineLength = 65536;

    explicit LineSource(std::string_view text);
    // Does not own `file`; reads from its current position.
    explicit LineSource(std::FILE* file);

    LineSource(const LineSource&) = delete;
    LineSource& operator=(const LineSource&) = delete;

    // The next line, valid until the following call. Returns false at the end of the text
    // and on an error (Failed() then tells which).
    bool Next(std::string_view& line);

    // Makes the next call return the line last returned once more (one line only).
    void PutBack();

    // The 1-based number of the line last returned (0 before the first).
    std::size_t LineNumber() const { return lineNumber_; }

    // Set when reading stopped at a NUL character, an over-long line or a read error; the
    // text says what happened, naming no file.
    bool Failed() const { return !error_.empty(); }
    const std::string& Error() const { return error_; }

  private:
    bool Fill();  // reads the next block of the file; false at its end

    std::FILE* file_ = nullptr;
    std::string buffer_;     // streamed bytes not yet handed out (file mode)
    std::string_view text_;  // what is left to split
    std::size_t position_ = 0;
    std::size_t lineNumber_ = 0;
    std::string_view last_;
    bool repeat_ = false;
    bool atStart_ = true;
    bool fileEnded_ = false;
    std::string error_;
};

}  // namespace travik
