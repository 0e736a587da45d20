#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/records/FilterSettings.h"

namespace travik {

// A growable series of samples; every series of a record and every result column is one.
using DOUBLEVECTOR = std::vector<double>;

// The fit that produced a record's corrected series. A record without a corrected set
// keeps the last fit it had (Linear at first); a record whose corrected set is only
// filtered stores None.
enum class BaselineCorrectionType { Linear, Parabolic, None };

// Which of a record's two motion sets an operation works on.
enum class MotionSet { Raw, Corrected };

// One ground-motion record: acceleration samples at a constant time step (time of sample i
// is i * TimeStep(), the first at 0), velocity and displacement integrated from them, and a
// corrected set of the same three series beside the raw one: the baseline-corrected
// acceleration, Butterworth-filtered when the record has a filter. Analysis and reports use
// the corrected set whenever IsCorrected().
// Units: acceleration in g, velocity in cm/sec, displacement in cm, time step in seconds.
class TimeHistory {
  public:
    TimeHistory(std::string sourceFileName, double timeStep);
    virtual ~TimeHistory() = default;

    // Appends one raw sample (g) and updates the extremes; makes all derived data stale
    // (clears the corrected and integrated flags).
    void AppendAcceleration(double value);

    int SampleCount() const { return static_cast<int>(rawAcceleration_.size()); }

    // Peak absolute raw acceleration (g); baseline correction never changes it.
    double PeakAcceleration() const;
    double MaxAcceleration() const { return maxAcceleration_; }
    double MinAcceleration() const { return minAcceleration_; }

    const std::string& SourceFileName() const { return sourceFileName_; }
    // The orientation the file's header gives the channel ("90 Deg", "N-S", "Up", "360"),
    // as written there; empty when it gives none (free format).
    const std::string& Orientation() const { return orientation_; }
    void SetOrientation(std::string orientation) { orientation_ = std::move(orientation); }
    double TimeStep() const { return timeStep_; }

    const DOUBLEVECTOR& RawAcceleration() const { return rawAcceleration_; }
    const DOUBLEVECTOR& CorrectedAcceleration() const { return correctedAcceleration_; }
    const DOUBLEVECTOR& RawVelocity() const { return rawVelocity_; }
    const DOUBLEVECTOR& CorrectedVelocity() const { return correctedVelocity_; }
    const DOUBLEVECTOR& RawDisplacement() const { return rawDisplacement_; }
    const DOUBLEVECTOR& CorrectedDisplacement() const { return correctedDisplacement_; }

    // The corrected acceleration when `useCorrected` is true, else the raw one. Callers
    // pass IsCorrected(); on an uncorrected record the corrected series is empty.
    const DOUBLEVECTOR& Acceleration(bool useCorrected) const;

    bool IsCorrected() const { return corrected_; }
    void SetCorrected(bool corrected) { corrected_ = corrected; }
    BaselineCorrectionType CorrectionType() const { return correctionType_; }
    void SetCorrectionType(BaselineCorrectionType type) { correctionType_ = type; }
    bool IsIntegrated() const { return integrated_; }
    void SetIntegrated(bool integrated) { integrated_ = integrated; }

    // The filter the corrected set was made with, if any (only while IsCorrected()).
    const std::optional<FilterSettings>& Filter() const { return filter_; }
    void SetFilter(const std::optional<FilterSettings>& filter) { filter_ = filter; }

    // Drops the corrected set and its filter; CorrectionType() keeps its value.
    void ClearCorrection();

    // Write access for baseline correction and integration.
    DOUBLEVECTOR& MutableCorrectedAcceleration() { return correctedAcceleration_; }
    DOUBLEVECTOR& MutableVelocity(MotionSet set);
    DOUBLEVECTOR& MutableDisplacement(MotionSet set);

  private:
    DOUBLEVECTOR rawAcceleration_;
    DOUBLEVECTOR correctedAcceleration_;
    DOUBLEVECTOR rawVelocity_;
    DOUBLEVECTOR correctedVelocity_;
    DOUBLEVECTOR rawDisplacement_;
    DOUBLEVECTOR correctedDisplacement_;
    std::string sourceFileName_;
    std::string orientation_;
    double timeStep_;
    double maxAcceleration_ = 0.0;
    double minAcceleration_ = 0.0;
    bool corrected_ = false;
    BaselineCorrectionType correctionType_ = BaselineCorrectionType::Linear;
    std::optional<FilterSettings> filter_;
    bool integrated_ = false;
};

// The ordered list of records the main window owns; the position of a record is its item
// index in every record list of the windows.
class RecordList {
  public:
    void Append(std::unique_ptr<TimeHistory> record);
    // Appends every record of `records` in its order (an import added to the loaded ones).
    void AppendAll(RecordList&& records);
    // Deletes every record and empties the list.
    void Clear() { records_.clear(); }

    int Count() const { return static_cast<int>(records_.size()); }
    bool IsEmpty() const { return records_.empty(); }
    TimeHistory& At(int index) { return *records_.at(static_cast<std::size_t>(index)); }
    const TimeHistory& At(int index) const { return *records_.at(static_cast<std::size_t>(index)); }

  private:
    std::vector<std::unique_ptr<TimeHistory>> records_;
};

// Velocity (cm/sec) and displacement (cm) at one sample.
struct MotionState {
    double velocity = 0.0;
    double displacement = 0.0;
};

// Velocity (trapezoidal rule) and displacement (exact for acceleration varying linearly
// over a step) of the chosen set from that set's acceleration, starting from `start` at the
// first sample (rest unless a filter's leading pad carried motion into the record).
// `gravity` is g in cm/sec^2. Changes no flag; callers set the one that applies.
void IntegrateMotion(TimeHistory& record, double gravity, MotionSet set, MotionState start = {});

// The state at the last sample of `acceleration` (g), integrated from rest at its first by
// the recurrence of IntegrateMotion (time step in s, `gravity` in cm/sec^2).
MotionState IntegrateToLastSample(std::span<const double> acceleration, double timeStep,
                                  double gravity);

}  // namespace travik
