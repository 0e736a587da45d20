// Streamed vector kernels (see OscillatorStreams.h), compiled once per instruction set by
// Highway's foreach_target.h like OscillatorKernels.cpp, from the same lanes, with the same
// rule: only Mul, Add, Sub, Div and Abs, each lane in the order of the one-oscillator code,
// and no contraction into fused multiply-add (-ffp-contract=off).
#include "core/analysis/OscillatorStreams.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

// As in OscillatorKernels.cpp: scalable vectors cannot be members of the lanes' structs.
#ifndef HWY_DISABLED_TARGETS
#define HWY_DISABLED_TARGETS (HWY_SVE | HWY_SVE2 | HWY_SVE_256 | HWY_SVE2_128 | HWY_RVV)
#endif

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "core/analysis/OscillatorStreams.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
// foreach_target.h must come first.
#include <hwy/highway.h>

#include "core/analysis/OscillatorLanes-inl.h"

HWY_BEFORE_NAMESPACE();
namespace travik::kernels {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Streams at most: as many vectors as any kernel keeps in flight.
constexpr std::size_t kMaxStreams = 4;

// One vector of a streamed run: lanes offset.. of `group`, of `subSteps` sub-steps each.
struct StreamVector {
    OscillatorGroup* group = nullptr;
    std::size_t offset = 0;
    std::size_t subSteps = 0;
    std::size_t table = 0;  // its count's ground table
};

// A block's ground accelerations (cm/sec^2) for one sub-step count n, sub-step by sub-step:
// for sub-step i of the block's sample s, before[s n + i - 1] = (i - 1) delta + start and
// after[s n + i - 1] = i delta + start.
struct GroundTable {
    std::size_t subSteps = 0;
    double* before = nullptr;
    double* after = nullptr;
};

// The block's vectors of one stream at a time: its group, first lane and ground
// accelerations of its next `length` sub-steps.
struct StreamChunk {
    OscillatorGroup* group = nullptr;
    std::size_t offset = 0;
    const double* before = nullptr;
    const double* after = nullptr;
};

// P streams each advance one vector `length` sub-steps, side by side: every vector's chain
// of dependent operations fills the waits of the others.
template <class Lanes, std::size_t P>
HWY_NOINLINE void StepChunks(const StreamChunk* chunks, std::size_t length) {
    const Tag d;
    Lanes lanes[P];
    const double* before[P];
    const double* after[P];
    ForEachVector<P>([&](auto k) {
        lanes[k].Resume(*chunks[k].group, chunks[k].offset);
        before[k] = chunks[k].before;
        after[k] = chunks[k].after;
    });
    for (std::size_t t = 0; t < length; ++t) {
        ForEachVector<P>(
            [&](auto k) { lanes[k].Step(hn::Set(d, before[k][t]), hn::Set(d, after[k][t])); });
    }
    ForEachVector<P>([&](auto k) { lanes[k].Suspend(*chunks[k].group, chunks[k].offset); });
}

template <class Lanes>
void StepChunks(const StreamChunk* chunks, std::size_t count, std::size_t length) {
    switch (count) {
        case 1:
            return StepChunks<Lanes, 1>(chunks, length);
        case 2:
            return StepChunks<Lanes, 2>(chunks, length);
        case 3:
            return StepChunks<Lanes, 3>(chunks, length);
        default:
            return StepChunks<Lanes, 4>(chunks, length);
    }
}

// Where a count's table entries come from, W entries (one vector) at a time. The table
// holds sub-step after sub-step, sample after sample, so its n vectors in a row cover W
// samples whatever n is: vector j of such a run begins at sample `first[j]` of them, and
// its lanes take their sample's delta and start from `lanes` (relative to that sample) and
// their sub-step numbers i - 1 and i from `before` and `after`.
struct TablePattern {
    std::vector<std::size_t> first;
    std::vector<std::int64_t> lanes;
    std::vector<double> before;
    std::vector<double> after;
};

TablePattern PatternOf(std::size_t n) {
    const std::size_t width = hn::Lanes(Tag());
    TablePattern pattern;
    pattern.first.resize(n);
    pattern.lanes.resize(n * width);
    pattern.before.resize(n * width);
    pattern.after.resize(n * width);
    for (std::size_t j = 0; j < n; ++j) {
        pattern.first[j] = j * width / n;
        for (std::size_t lane = 0; lane < width; ++lane) {
            const std::size_t t = j * width + lane;
            pattern.lanes[t] = static_cast<std::int64_t>(t / n - pattern.first[j]);
            pattern.before[t] = static_cast<double>(t % n);
            pattern.after[t] = static_cast<double>(t % n + 1);
        }
    }
    return pattern;
}

// The block's samples first.. (each with the one before), `length` of them: the ground
// acceleration at both ends of every sub-step for each table's count, by the arithmetic of
// the one-oscillator code: start = g a[j-1], delta = (a[j] - a[j-1]) g / n and i delta +
// start at the end of sub-step i. `start` and `rise` hold room for `length` rounded up to
// whole vectors and one vector more, `deltas` that much for each table; each table for n
// `length` plus one vector.
void FillTables(const double* acceleration, std::size_t first, std::size_t length, double g,
                double* start, double* rise, double* deltas, std::vector<GroundTable>& tables,
                const std::vector<TablePattern>& patterns) {
    const Tag d;
    const hn::RebindToSigned<Tag> di;
    const std::size_t width = hn::Lanes(d);
    const V gv = hn::Set(d, g);
    std::size_t s = 0;
    for (; s + width <= length; s += width) {
        const V before = hn::LoadU(d, acceleration + first + s - 1);
        const V after = hn::LoadU(d, acceleration + first + s);
        hn::StoreU(hn::Mul(gv, before), d, start + s);
        hn::StoreU(hn::Mul(hn::Sub(after, before), gv), d, rise + s);
    }
    // The last few samples one by one, then zeros up to a whole vector and one more.
    for (; s < length; ++s) {
        start[s] = g * acceleration[first + s - 1];
        rise[s] = (acceleration[first + s] - acceleration[first + s - 1]) * g;
    }
    for (; s % width != 0 || s < length + width; ++s) {
        start[s] = rise[s] = 0;
    }
    // Every count's deltas first, each in its own row, so that the tables below do not read
    // a delta at an offset that straddles two stores still in flight.
    const std::size_t row = s;
    for (s = 0; s < row; s += width) {
        const V r = hn::LoadU(d, rise + s);
        for (std::size_t k = 0; k < tables.size(); ++k) {
            const V nv = hn::Set(d, static_cast<double>(tables[k].subSteps));
            hn::StoreU(hn::Div(r, nv), d, deltas + k * row + s);
        }
    }
    const V one = hn::Set(d, 1.0);
    for (std::size_t k = 0; k < tables.size(); ++k) {
        const GroundTable& table = tables[k];
        const std::size_t n = table.subSteps;
        const double* delta = deltas + k * row;
        if (n == 1) {
            // One sub-step per sample: a vector of samples at a time.
            for (s = 0; s < length; s += width) {
                const V dv = hn::LoadU(d, delta + s);
                const V sv = hn::LoadU(d, start + s);
                hn::StoreU(hn::Add(hn::Mul(hn::Zero(d), dv), sv), d, table.before + s);
                hn::StoreU(hn::Add(hn::Mul(one, dv), sv), d, table.after + s);
            }
            continue;
        }
        // A vector of sub-steps at a time, each lane's delta and start picked from the
        // samples the vector spans; the part beyond the block falls in the spare vector.
        // Vector j of every run of n first, then j + 1: the picks and sub-step numbers of
        // one j stay in registers.
        const TablePattern& pattern = patterns[k];
        const std::size_t vectors = (n * length + width - 1) / width;
        for (std::size_t j = 0; j < n && j < vectors; ++j) {
            const auto lanes = hn::IndicesFromVec(d, hn::LoadU(di, &pattern.lanes[j * width]));
            const V beforeNumbers = hn::LoadU(d, &pattern.before[j * width]);
            const V afterNumbers = hn::LoadU(d, &pattern.after[j * width]);
            double* before = table.before + j * width;
            double* after = table.after + j * width;
            const double* deltaFrom = delta + pattern.first[j];
            const double* startFrom = start + pattern.first[j];
            for (std::size_t v = j; v < vectors; v += n) {
                const V dv = hn::TableLookupLanes(hn::LoadU(d, deltaFrom), lanes);
                const V sv = hn::TableLookupLanes(hn::LoadU(d, startFrom), lanes);
                hn::Store(hn::Add(hn::Mul(beforeNumbers, dv), sv), d, before);
                hn::Store(hn::Add(hn::Mul(afterNumbers, dv), sv), d, after);
                before += n * width;
                after += n * width;
                deltaFrom += width;
                startFrom += width;
            }
        }
    }
}

// The first value from `values` on that starts a whole vector of `width` doubles in memory.
double* AlignedStart(double* values, std::size_t width) {
    const std::size_t bytes = width * sizeof(double);
    const auto address = reinterpret_cast<std::uintptr_t>(values);
    return values + ((bytes - address % bytes) % bytes) / sizeof(double);
}

// Deals the vectors out to `count` streams, the vectors of most sub-steps first, each to the
// stream of fewest sub-steps so far, so that the streams finish a block close together.
std::vector<std::vector<StreamVector>> Deal(std::vector<StreamVector> vectors, std::size_t count) {
    std::stable_sort(
        vectors.begin(), vectors.end(),
        [](const StreamVector& a, const StreamVector& b) { return a.subSteps > b.subSteps; });
    std::vector<std::vector<StreamVector>> streams(count);
    std::vector<std::size_t> load(count, 0);
    for (const StreamVector& vector : vectors) {
        const std::size_t s =
            static_cast<std::size_t>(std::min_element(load.begin(), load.end()) - load.begin());
        streams[s].push_back(vector);
        load[s] += vector.subSteps;
    }
    return streams;
}

// One block of `length` samples: round by round, every stream that has sub-steps left
// advances its current vector `length` sub-steps (its n rounds make one vector's block).
template <class Lanes>
void AdvanceBlock(const std::vector<std::vector<StreamVector>>& streams,
                  const std::vector<GroundTable>& tables, std::size_t length) {
    struct Cursor {
        std::size_t vector = 0;
        std::size_t round = 0;
    };
    std::array<Cursor, kMaxStreams> cursors{};
    StreamChunk chunks[kMaxStreams];
    for (;;) {
        std::size_t active = 0;
        for (std::size_t s = 0; s < streams.size(); ++s) {
            Cursor& cursor = cursors[s];
            if (cursor.vector == streams[s].size()) {
                continue;
            }
            const StreamVector& vector = streams[s][cursor.vector];
            const GroundTable& table = tables[vector.table];
            const std::size_t skip = cursor.round * length;
            chunks[active++] = {vector.group, vector.offset, table.before + skip,
                                table.after + skip};
            if (++cursor.round == vector.subSteps) {
                cursor = {cursor.vector + 1, 0};
            }
        }
        if (active == 0) {
            return;
        }
        StepChunks<Lanes>(chunks, active, length);
    }
}

template <class Lanes>
bool AdvanceStreams(const double* acceleration, std::size_t count, double g,
                    std::span<OscillatorGroup* const> groups, const std::atomic<bool>* cancel,
                    std::size_t streamCount) {
    const std::size_t width = hn::Lanes(Tag());
    // One table per sub-step count present, and every group's vectors.
    std::array<std::size_t, kMaxStreamSubSteps + 1> tableOf{};
    std::vector<GroundTable> tables;
    std::vector<StreamVector> vectors;
    std::size_t countsSum = 0;
    for (OscillatorGroup* group : groups) {
        const auto n =
            static_cast<std::size_t>(std::clamp(group->maxSubSteps, 1, kMaxStreamSubSteps));
        if (tableOf[n] == 0) {
            tables.push_back({n});
            tableOf[n] = tables.size();
            countsSum += n;
        }
        for (std::size_t offset = 0; offset < group->lanes; offset += width) {
            vectors.push_back({group, offset, n, tableOf[n] - 1});
        }
        std::fill(std::begin(group->u), std::end(group->u), 0.0);
        std::fill(std::begin(group->v), std::end(group->v), 0.0);
        std::fill(std::begin(group->w), std::end(group->w), 0.0);
        std::fill(std::begin(group->sd), std::end(group->sd), 0.0);
        std::fill(std::begin(group->sv), std::end(group->sv), 0.0);
        std::fill(std::begin(group->saNumerator), std::end(group->saNumerator), 0.0);
    }
    // A record shorter than a block needs room for its own samples only: memory a short
    // run touches costs it more than its arithmetic.
    const std::size_t block =
        std::min(StreamBlockSamples(countsSum), std::max<std::size_t>(count, 2) - 1);
    const auto whole = [width](std::size_t values) { return (values + width - 1) / width * width; };
    const std::size_t roundedBlock = whole(block) + width;
    // Every row and table starts on a whole vector, so that the tables are written with
    // aligned stores.
    std::size_t tablesRoom = 0;
    for (const GroundTable& table : tables) {
        tablesRoom += 2 * (whole(table.subSteps * block) + width);
    }
    // Kept by the thread from one run to the next, like the batch's plan: mapping and zeroing
    // it afresh for every record costs about as much as a short record's arithmetic.
    thread_local std::vector<double> storage;
    storage.assign((2 + tables.size()) * roundedBlock + tablesRoom + width, 0.0);
    double* const room = AlignedStart(storage.data(), width);
    double* next = room + (2 + tables.size()) * roundedBlock;
    for (GroundTable& table : tables) {
        table.before = next;
        table.after = next + whole(table.subSteps * block) + width;
        next = table.after + whole(table.subSteps * block) + width;
    }
    std::vector<TablePattern> patterns;
    for (const GroundTable& table : tables) {
        patterns.push_back(table.subSteps == 1 ? TablePattern{} : PatternOf(table.subSteps));
    }
    const std::vector<std::vector<StreamVector>> streams =
        Deal(std::move(vectors), std::clamp<std::size_t>(streamCount, 1, kMaxStreams));
    for (std::size_t first = 1; first < count; first += block) {
        for (OscillatorGroup* group : groups) {
            if (group->samplesDone != nullptr) {
                group->samplesDone->store(first, std::memory_order_relaxed);
            }
        }
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
            return false;
        }
        const std::size_t length = std::min(block, count - first);
        FillTables(acceleration, first, length, g, room, room + roundedBlock,
                   room + 2 * roundedBlock, tables, patterns);
        AdvanceBlock<Lanes>(streams, tables, length);
    }
    return true;
}

bool AdvanceExactStreamsImpl(const double* acceleration, std::size_t count, double g,
                             std::span<OscillatorGroup* const> groups,
                             const std::atomic<bool>* cancel, std::size_t streams) {
    return AdvanceStreams<ExactLanes>(acceleration, count, g, groups, cancel, streams);
}

bool AdvanceNewmarkStreamsImpl(const double* acceleration, std::size_t count, double g,
                               std::span<OscillatorGroup* const> groups,
                               const std::atomic<bool>* cancel, std::size_t streams) {
    return AdvanceStreams<NewmarkLanes>(acceleration, count, g, groups, cancel, streams);
}

}  // namespace HWY_NAMESPACE
}  // namespace travik::kernels
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace travik::kernels {

HWY_EXPORT(AdvanceExactStreamsImpl);
HWY_EXPORT(AdvanceNewmarkStreamsImpl);

namespace {
std::atomic<bool> streamsOff{false};
}  // namespace

bool AdvanceExactStreams(const double* acceleration, std::size_t count, double g,
                         std::span<OscillatorGroup* const> groups,
                         const std::atomic<bool>* cancel) {
    return HWY_DYNAMIC_DISPATCH(AdvanceExactStreamsImpl)(acceleration, count, g, groups, cancel,
                                                         VectorsInFlight());
}

bool AdvanceNewmarkStreams(const double* acceleration, std::size_t count, double g,
                           std::span<OscillatorGroup* const> groups,
                           const std::atomic<bool>* cancel) {
    return HWY_DYNAMIC_DISPATCH(AdvanceNewmarkStreamsImpl)(acceleration, count, g, groups, cancel,
                                                           VectorsInFlight());
}

void UseStreams(bool streams) {
    streamsOff.store(!streams);
}

bool StreamsInUse() {
    return !streamsOff.load();
}

}  // namespace travik::kernels
#endif  // HWY_ONCE
