#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
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

}  // namespace travik::cli
