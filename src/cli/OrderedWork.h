#pragma once

#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

namespace travik::cli {

// Runs process(0), ..., process(count - 1) on up to `concurrent` threads at once, and hands
// each outcome to commit() in index order, one at a time. A finished item waits with its
// outcome until every earlier one has been committed before its thread takes another, so
// at most `concurrent` outcomes exist at any moment: memory stays bounded however many
// items there are. When commit() returns false, no later outcome is committed and no
// further item is started. `process` must not throw.
template <class Outcome, class Process, class Commit>
void ProcessInOrder(std::size_t count, std::size_t concurrent, Process process, Commit commit) {
    std::mutex mutex;
    std::condition_variable turn;
    std::size_t next = 0;
    std::size_t committed = 0;
    bool stopped = false;
    const auto work = [&] {
        for (;;) {
            std::size_t index = 0;
            {
                const std::lock_guard<std::mutex> lock(mutex);
                if (stopped || next >= count) {
                    return;
                }
                index = next++;
            }
            Outcome outcome = process(index);
            std::unique_lock<std::mutex> lock(mutex);
            turn.wait(lock, [&] { return committed == index; });
            // Only the item whose turn it is gets here, so commit() runs unlocked.
            const bool stop = stopped;
            lock.unlock();
            const bool keepGoing = !stop && commit(outcome);
            lock.lock();
            stopped = stopped || !keepGoing;
            ++committed;
            turn.notify_all();
        }
    };
    std::vector<std::thread> helpers;
    for (std::size_t t = 1; t < concurrent && t < count; ++t) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: the ones running share the work
        }
    }
    work();
    for (std::thread& helper : helpers) {
        helper.join();
    }
}

// Threads item `index` of `count` may use for itself when ProcessInOrder runs `concurrent`
// at once: one while at least `concurrent` items remain (the items themselves keep the
// threads busy), else an even share of the threads for the items left.
inline int ThreadsForItem(std::size_t index, std::size_t count, std::size_t concurrent) {
    const std::size_t left = count > index ? count - index : 1;
    return left >= concurrent ? 1 : static_cast<int>(concurrent / left);
}

// Text that items of ProcessInOrder write while they run (progress, messages), put out in
// the items' order: the item whose turn it is writes straight through, so that the
// progress of a long analysis shows as it happens, and the others are held until every
// earlier item has been committed. Only the text of the items in progress is held.
class OrderedText {
  public:
    explicit OrderedText(std::ostream& out) : out_(out) {}

    // Safe to call from any thread.
    void Write(std::size_t item, std::string_view text) {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (item == turn_) {
            out_ << text << std::flush;
        } else if (item > turn_) {
            held_[item] += text;
        }
    }

    // The item whose turn it was is committed: the next one's held text goes out, and it
    // writes straight through from now on.
    void Advance() {
        const std::lock_guard<std::mutex> lock(mutex_);
        ++turn_;
        if (const auto held = held_.find(turn_); held != held_.end()) {
            out_ << held->second << std::flush;
            held_.erase(held);
        }
    }

  private:
    std::mutex mutex_;
    std::ostream& out_;
    std::size_t turn_ = 0;
    std::map<std::size_t, std::string> held_;
};

}  // namespace travik::cli
