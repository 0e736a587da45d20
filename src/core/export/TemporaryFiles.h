#pragma once

namespace travik {

// The hidden temporary files reports are being written to, so that a program ended by a
// signal (Ctrl-C, a closed terminal, kill) can remove them on its way out: the finished
// name is never half-written, but the temporary one would otherwise stay behind, often
// tens of megabytes. A fixed table without locks, so that the removal is safe inside a
// signal handler; paths longer than the table's slots are not kept (the report still
// works, only its removal on a signal is lost).
class TemporaryFiles {
  public:
    // A slot for `path`, or -1 when none is free or the path is too long.
    static int Register(const char* path) noexcept;
    static void Unregister(int slot) noexcept;
    // Removes every registered file; async-signal-safe.
    static void RemoveAll() noexcept;
};

}  // namespace travik
