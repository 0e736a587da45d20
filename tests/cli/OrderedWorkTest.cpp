// Several records at once, reports in file order, bounded memory, and a clean stop.
#include "OrderedWork.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace travik::cli {
namespace {

// An outcome that counts how many exist at once.
struct Outcome {
    std::size_t index = 0;
    std::atomic<int>* alive = nullptr;
    std::atomic<int>* mostAlive = nullptr;

    Outcome(std::size_t i, std::atomic<int>& count, std::atomic<int>& most)
        : index(i), alive(&count), mostAlive(&most) {
        const int now = ++*alive;
        int seen = mostAlive->load();
        while (now > seen && !mostAlive->compare_exchange_weak(seen, now)) {
        }
    }
    Outcome(Outcome&& other) noexcept
        : index(other.index), alive(other.alive), mostAlive(other.mostAlive) {
        other.alive = nullptr;
    }
    Outcome(const Outcome&) = delete;
    Outcome& operator=(const Outcome&) = delete;
    Outcome& operator=(Outcome&&) = delete;
    ~Outcome() {
        if (alive != nullptr) {
            --*alive;
        }
    }
};

struct Batch {
    std::vector<std::size_t> committed;
    std::atomic<std::size_t> started{0};
    std::atomic<int> alive{0};
    std::atomic<int> mostAlive{0};

    // Items finish in a scrambled order: later ones are often quicker.
    void Go(std::size_t count, std::size_t concurrent, std::size_t stopAt) {
        ProcessInOrder<Outcome>(
            count, concurrent,
            [this](std::size_t index) {
                ++started;
                std::this_thread::sleep_for(std::chrono::microseconds(200 * ((index * 7) % 5)));
                return Outcome(index, alive, mostAlive);
            },
            [this, stopAt](Outcome& outcome) {
                committed.push_back(outcome.index);
                return outcome.index != stopAt;
            });
    }
};

TEST(OrderedWork, OutcomesAreCommittedInIndexOrderWithAtMostTheConcurrentCountAlive) {
    for (const std::size_t concurrent : {1U, 2U, 4U}) {
        SCOPED_TRACE(concurrent);
        Batch run;
        run.Go(40, concurrent, 1000);
        ASSERT_EQ(run.committed.size(), 40U);
        for (std::size_t k = 0; k < run.committed.size(); ++k) {
            EXPECT_EQ(run.committed[k], k);
        }
        EXPECT_LE(run.mostAlive.load(), static_cast<int>(concurrent));
        EXPECT_EQ(run.alive.load(), 0);
    }
}

TEST(OrderedWork, AStopCommitsNothingLaterAndStartsLittleMore) {
    Batch run;
    run.Go(100, 3, 10);
    ASSERT_EQ(run.committed.size(), 11U);
    EXPECT_EQ(run.committed.back(), 10U);
    // Items already under way when the stop came finish, but are dropped; no others start.
    EXPECT_LE(run.started.load(), 10U + 1U + 3U);
}

TEST(OrderedWork, NothingToDoReturnsAtOnce) {
    Batch run;
    run.Go(0, 4, 1000);
    EXPECT_TRUE(run.committed.empty());
    EXPECT_EQ(run.started.load(), 0U);
}

// Items write their progress while they run, out of order and from several threads; what
// comes out is each item's text whole, in item order, as if they had run one by one.
TEST(OrderedWork, TextWrittenWhileRunningComesOutInItemOrder) {
    for (const std::size_t concurrent : {1U, 3U}) {
        SCOPED_TRACE(concurrent);
        std::ostringstream out;
        OrderedText text(out);
        std::string expected;
        for (std::size_t i = 0; i < 30; ++i) {
            expected += std::to_string(i) + "a" + std::to_string(i) + "b";
        }
        ProcessInOrder<std::size_t>(
            30, concurrent,
            [&text](std::size_t index) {
                text.Write(index, std::to_string(index) + "a");
                std::this_thread::sleep_for(std::chrono::microseconds(150 * ((index * 7) % 5)));
                text.Write(index, std::to_string(index) + "b");
                return index;
            },
            [&text](std::size_t) {
                text.Advance();
                return true;
            });
        EXPECT_EQ(out.str(), expected);
    }
}

TEST(OrderedWork, TheItemWhoseTurnItIsWritesStraightThroughAndLaterOnesWait) {
    std::ostringstream out;
    OrderedText text(out);
    text.Write(1, "later ");
    text.Write(0, "first ");
    EXPECT_EQ(out.str(), "first ");  // a long first item shows its progress at once
    text.Write(2, "last");
    text.Advance();
    EXPECT_EQ(out.str(), "first later ");
    text.Advance();
    EXPECT_EQ(out.str(), "first later last");
}

// Records in parallel while enough are left; the last few share the threads.
TEST(OrderedWork, ItemThreadsShareWhatTheLastItemsLeaveFree) {
    EXPECT_EQ(ThreadsForItem(0, 200, 4), 1);
    EXPECT_EQ(ThreadsForItem(196, 200, 4), 1);
    EXPECT_EQ(ThreadsForItem(197, 200, 4), 1);  // three left: a whole thread each
    EXPECT_EQ(ThreadsForItem(198, 200, 4), 2);
    EXPECT_EQ(ThreadsForItem(199, 200, 4), 4);
    EXPECT_EQ(ThreadsForItem(0, 1, 8), 8);  // a single record gets every thread
    EXPECT_EQ(ThreadsForItem(0, 1, 1), 1);
}

}  // namespace
}  // namespace travik::cli
