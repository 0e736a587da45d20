#include "core/records/TimeHistory.h"

#include <cmath>
#include <utility>

namespace travik {

TimeHistory::TimeHistory(std::string sourceFileName, double timeStep)
    : sourceFileName_(std::move(sourceFileName)), timeStep_(timeStep) {}

void TimeHistory::AppendAcceleration(double value) {
    rawAcceleration_.push_back(value);
    if (rawAcceleration_.size() == 1) {
        maxAcceleration_ = value;
        minAcceleration_ = value;
    } else {
        if (value > maxAcceleration_) {
            maxAcceleration_ = value;
        }
        if (value < minAcceleration_) {
            minAcceleration_ = value;
        }
    }
    corrected_ = false;
    filter_.reset();
    integrated_ = false;
}

double TimeHistory::PeakAcceleration() const {
    return std::fmax(std::fabs(maxAcceleration_), std::fabs(minAcceleration_));
}

const DOUBLEVECTOR& TimeHistory::Acceleration(bool useCorrected) const {
    return useCorrected ? correctedAcceleration_ : rawAcceleration_;
}

void TimeHistory::ClearCorrection() {
    corrected_ = false;
    filter_.reset();
    correctedAcceleration_.clear();
    correctedVelocity_.clear();
    correctedDisplacement_.clear();
}

DOUBLEVECTOR& TimeHistory::MutableVelocity(MotionSet set) {
    return set == MotionSet::Raw ? rawVelocity_ : correctedVelocity_;
}

DOUBLEVECTOR& TimeHistory::MutableDisplacement(MotionSet set) {
    return set == MotionSet::Raw ? rawDisplacement_ : correctedDisplacement_;
}

void RecordList::Append(std::unique_ptr<TimeHistory> record) {
    records_.push_back(std::move(record));
}

void RecordList::AppendAll(RecordList&& records) {
    for (std::unique_ptr<TimeHistory>& record : records.records_) {
        records_.push_back(std::move(record));
    }
    records.records_.clear();
}

namespace {

// The ten-digit 0.1666666667 (not 1/6) is the documented factor of the displacement
// recurrence; reports reproduce it digit for digit.
constexpr double kOneSixth = 0.1666666667;

// One step of the recurrence: trapezoidal velocity; displacement exact for acceleration
// linear over the step.
MotionState NextState(const MotionState& state, double a0, double a1, double dt, double gravity) {
    return {
        state.velocity + 0.5 * dt * gravity * (a0 + a1),
        state.displacement + dt * state.velocity + kOneSixth * dt * dt * gravity * (2 * a0 + a1)};
}

}  // namespace

void IntegrateMotion(TimeHistory& record, double gravity, MotionSet set, MotionState start) {
    const int n = record.SampleCount();
    if (n < 1) {
        return;
    }
    const DOUBLEVECTOR& a =
        set == MotionSet::Raw ? record.RawAcceleration() : record.CorrectedAcceleration();
    DOUBLEVECTOR& v = record.MutableVelocity(set);
    DOUBLEVECTOR& d = record.MutableDisplacement(set);
    v.assign(static_cast<std::size_t>(n), 0.0);
    d.assign(static_cast<std::size_t>(n), 0.0);
    if (a.size() < static_cast<std::size_t>(n)) {
        return;  // a corrected set that was never computed has nothing to integrate
    }
    const double dt = record.TimeStep();
    v[0] = start.velocity;
    d[0] = start.displacement;
    MotionState state = start;
    for (std::size_t i = 1; i < static_cast<std::size_t>(n); ++i) {
        state = NextState(state, a[i - 1], a[i], dt, gravity);
        v[i] = state.velocity;
        d[i] = state.displacement;
    }
}

MotionState IntegrateToLastSample(std::span<const double> acceleration, double timeStep,
                                  double gravity) {
    MotionState state;
    for (std::size_t i = 1; i < acceleration.size(); ++i) {
        state = NextState(state, acceleration[i - 1], acceleration[i], timeStep, gravity);
    }
    return state;
}

}  // namespace travik
