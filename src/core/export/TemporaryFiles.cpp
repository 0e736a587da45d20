#include "core/export/TemporaryFiles.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstring>

#include <unistd.h>

namespace travik {
namespace {

constexpr std::size_t kSlots = 256;
constexpr std::size_t kPathBytes = 4096;

// 0 free, 1 being filled, 2 holds a path to remove.
std::array<std::atomic<int>, kSlots> gState{};
std::array<std::array<char, kPathBytes>, kSlots> gPath{};

}  // namespace

int TemporaryFiles::Register(const char* path) noexcept {
    const std::size_t length = std::strlen(path);
    if (length >= kPathBytes) {
        return -1;
    }
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
        int expected = 0;
        if (gState[slot].compare_exchange_strong(expected, 1)) {
            std::memcpy(gPath[slot].data(), path, length + 1);
            gState[slot].store(2);
            return static_cast<int>(slot);
        }
    }
    return -1;
}

void TemporaryFiles::Unregister(int slot) noexcept {
    if (slot >= 0 && static_cast<std::size_t>(slot) < kSlots) {
        gState[static_cast<std::size_t>(slot)].store(0);
    }
}

void TemporaryFiles::RemoveAll() noexcept {
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
        if (gState[slot].load() == 2) {
            ::unlink(gPath[slot].data());
        }
    }
}

}  // namespace travik
