#include "core/records/BaselineCorrection.h"

#include "core/records/ButterworthFilter.h"

#include <cmath>
#include <cstddef>
#include <span>
#include <utility>

namespace travik {
namespace {

bool AllFinite(const DOUBLEVECTOR& values) {
    for (const double value : values) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    return true;
}

// Linear baseline a + b*t (cm/sec^2): its integral meets the uncorrected end velocity
// exactly and its double integral is the least-squares fit of the uncorrected displacement
// under that condition, solved in closed form. The result is rescaled so that the corrected
// record keeps the peak absolute acceleration of the raw one.
bool LinearCorrection(const TimeHistory& record, const DOUBLEVECTOR& velocity,
                      const DOUBLEVECTOR& displacement, double gravity, DOUBLEVECTOR& out) {
    const std::size_t n = static_cast<std::size_t>(record.SampleCount());
    const double dt = record.TimeStep();
    const double duration = static_cast<double>(n - 1) * dt;
    const DOUBLEVECTOR& acceleration = record.RawAcceleration();
    const double endVelocity = velocity[n - 1];

    // Times accumulate by adding dt, as the recorded fit always has.
    DOUBLEVECTOR weighted(n);
    double t = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        weighted[i] = (3.0 * duration - 2.0 * t) * displacement[i] * t * t;
        t += dt;
    }
    double sum = (weighted[0] + weighted[n - 1]) * 0.5;
    for (std::size_t i = 1; i + 1 < n; ++i) {
        sum += weighted[i];
    }
    const double moment = dt * sum;  // trapezoidal rule

    const double t2 = duration * duration;
    const double t5 = t2 * t2 * duration;
    const double b = 28.0 / (13.0 * t2) * (2.0 * endVelocity - 15.0 * moment / t5);
    const double a = endVelocity / duration - 0.5 * b * duration;
    if (!std::isfinite(a) || !std::isfinite(b)) {
        return false;
    }

    out.assign(n, 0.0);
    double largest = 0.0;
    t = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = (gravity * acceleration[i] - a - b * t) / gravity;
        if (std::fabs(out[i]) > largest) {
            largest = std::fabs(out[i]);
        }
        t += dt;
    }
    if (largest == 0.0) {
        return false;  // nothing left to rescale: the record is its own baseline
    }
    const double rescale = record.PeakAcceleration() / largest;
    for (double& value : out) {
        value = rescale * value;
    }
    return std::isfinite(rescale) && AllFinite(out);
}

// Parabolic baseline c0 + c1*t + c2*t^2 (cm/sec^2) whose integral is the least-squares fit
// of the uncorrected velocity. The velocity is integrated here from the raw acceleration
// with the current g, and the moments of t*v, t^2*v and t^3*v are accumulated exactly for
// acceleration varying linearly over each step. The decimal factors 0.0416666666667,
// 0.3333333333, 0.01666666667 and 0.008333333333 (not 1/24, 1/3, 1/60, 1/120) are those of
// the established fit; corrected records must match it to the last printed digit.
bool ParabolicCorrection(const TimeHistory& record, double gravity, DOUBLEVECTOR& out) {
    const std::size_t n = static_cast<std::size_t>(record.SampleCount());
    const double dt = record.TimeStep();
    const double duration = static_cast<double>(n - 1) * dt;
    const DOUBLEVECTOR& acc = record.RawAcceleration();

    double i0 = 0.0;
    double i1 = 0.0;
    double i2 = 0.0;
    double velocity = 0.0;
    double t0 = 0.0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const double t1 = t0 + dt;
        const double a0 = gravity * acc[i];
        const double a1 = gravity * acc[i + 1];
        const double t00 = t0 * t0;
        const double t01 = t0 * t1;
        const double t11 = t1 * t1;
        const double t000 = t00 * t0;
        const double t001 = t00 * t1;
        const double t011 = t0 * t11;
        const double t111 = t11 * t1;
        i0 += 0.5 * velocity * dt * (t0 + t1) +
              0.0416666666667 * dt * dt * ((3.0 * t0 + 5.0 * t1) * a0 + (t0 + 3.0 * t1) * a1);
        i1 += 0.3333333333 * velocity * dt * (t00 + t01 + t11) +
              0.01666666667 * dt * dt *
                  ((4.0 * t00 + 7.0 * t01 + 9.0 * t11) * a0 + (t00 + 3.0 * t01 + 6.0 * t11) * a1);
        i2 += 0.25 * velocity * dt * (t000 + t001 + t011 + t111) +
              0.008333333333 * dt * dt *
                  ((5.0 * t000 + 9.0 * t001 + 12.0 * t011 + 14.0 * t111) * a0 +
                   (t000 + 3.0 * t001 + 6.0 * t011 + 10.0 * t111) * a1);
        t0 += dt;
        velocity += 0.5 * dt * gravity * (acc[i] + acc[i + 1]);
    }
    const double t2 = duration * duration;
    i0 /= t2 * duration;
    i1 /= t2 * t2;
    i2 /= t2 * t2 * duration;

    const double c0 = 300.0 * i0 - 900.0 * i1 + 630.0 * i2;
    const double c1 = (-1800.0 * i0 + 5760.0 * i1 - 4200.0 * i2) / duration;
    const double c2 = (1890.0 * i0 - 6300.0 * i1 + 4725.0 * i2) / t2;
    if (!std::isfinite(c0) || !std::isfinite(c1) || !std::isfinite(c2)) {
        return false;
    }

    out.assign(n, 0.0);
    double t = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = (gravity * acc[i] - c0 - c1 * t - c2 * t * t) / gravity;
        t += dt;
    }
    return AllFinite(out);
}

}  // namespace

bool CorrectBaseline(TimeHistory& record, double gravity, BaselineCorrectionType type) {
    if (record.SampleCount() < 2 || type == BaselineCorrectionType::None) {
        return false;
    }
    DOUBLEVECTOR corrected;
    if (type == BaselineCorrectionType::Parabolic) {
        if (!ParabolicCorrection(record, gravity, corrected)) {
            return false;
        }
        record.MutableCorrectedAcceleration() = std::move(corrected);
        return true;
    }

    // The linear fit works on the stored raw motion; a record never integrated gets it
    // now, but only kept when the fit succeeds, so a failure leaves the record untouched.
    if (record.IsIntegrated()) {
        if (!LinearCorrection(record, record.RawVelocity(), record.RawDisplacement(), gravity,
                              corrected)) {
            return false;
        }
    } else {
        TimeHistory integrated(record.SourceFileName(), record.TimeStep());
        for (const double value : record.RawAcceleration()) {
            integrated.AppendAcceleration(value);
        }
        IntegrateMotion(integrated, gravity, MotionSet::Raw);
        if (!LinearCorrection(record, integrated.RawVelocity(), integrated.RawDisplacement(),
                              gravity, corrected)) {
            return false;
        }
        record.MutableVelocity(MotionSet::Raw) =
            std::move(integrated.MutableVelocity(MotionSet::Raw));
        record.MutableDisplacement(MotionSet::Raw) =
            std::move(integrated.MutableDisplacement(MotionSet::Raw));
        record.SetIntegrated(true);
    }
    record.MutableCorrectedAcceleration() = std::move(corrected);
    return true;
}

}  // namespace travik
