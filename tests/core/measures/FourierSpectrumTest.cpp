#include "measures/FourierSpectrum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "MeasuresTestData.h"

namespace travik {
namespace {

// The Konno-Ohmachi smoothing summed directly over every frequency.
std::vector<double> DirectKonnoOhmachi(const std::vector<double>& f, const std::vector<double>& a,
                                       double b) {
    std::vector<double> out(f.size());
    for (std::size_t c = 0; c < f.size(); ++c) {
        double num = 0;
        double den = 0;
        for (std::size_t j = 0; j < f.size(); ++j) {
            double w = 1.0;
            if (j != c) {
                const double x = b * std::log10(f[j] / f[c]);
                w = std::pow(std::sin(x) / x, 4);
            }
            num += w * a[j];
            den += w;
        }
        out[c] = num / den;
    }
    return out;
}

TEST(FourierSpectrum, LaHabraAmplitudesMatchNumpyRfft) {
    const TimeHistory record = test::LoadSampleRecord("cgs-lahabra-wlt-090.txt", 0.02);
    const FourierSpectrum fs =
        ComputeFourierSpectrum(record.RawAcceleration(), 0.02, 980.665, 40.0);
    EXPECT_EQ(fs.sampleCount, 15050);
    EXPECT_EQ(fs.fftLength, 16384);
    ASSERT_EQ(fs.frequencies.size(), 8192u);
    ASSERT_EQ(fs.smoothed.size(), 8192u);
    EXPECT_DOUBLE_EQ(fs.frequencies.back(), 25.0);  // Nyquist

    const auto amplitudes = test::LoadPairs("lahabra_fourier.csv");
    ASSERT_EQ(amplitudes.size(), 200u);
    std::size_t k = 0;
    for (const auto& [frequency, amplitude] : amplitudes) {
        EXPECT_DOUBLE_EQ(fs.frequencies[k], std::stod(frequency));
        EXPECT_NEAR(fs.amplitudes[k], amplitude, 1e-10 * amplitude + 1e-14) << frequency;
        k += 41;
    }
    // The direct sum over all 8192 frequencies, from NumPy.
    const auto smoothed = test::LoadPairs("lahabra_konno_ohmachi.csv");
    ASSERT_GT(smoothed.size(), 150u);
    for (const auto& [frequency, value] : smoothed) {
        const double f = std::stod(frequency);
        const std::size_t index = static_cast<std::size_t>(std::llround(f / fs.frequencies[0])) - 1;
        ASSERT_DOUBLE_EQ(fs.frequencies[index], f);
        EXPECT_NEAR(fs.smoothed[index], value, 1e-4 * value) << f << " Hz";
    }
}

TEST(FourierSpectrum, BinnedKonnoOhmachiAgreesWithTheDirectSumOverAWideDynamicRange) {
    // Amplitudes spread over eight decades at random: the far tails of the window matter.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> exponent(-4.0, 4.0);
    std::vector<double> f(3000);
    std::vector<double> a(3000);
    for (std::size_t k = 0; k < f.size(); ++k) {
        f[k] = 0.0125 * static_cast<double>(k + 1);
        a[k] = std::pow(10.0, exponent(random));
    }
    for (const double b : {20.0, 40.0, 80.0}) {
        const std::vector<double> fast = KonnoOhmachiSmooth(f, a, b);
        const std::vector<double> direct = DirectKonnoOhmachi(f, a, b);
        for (std::size_t k = 0; k < f.size(); ++k) {
            EXPECT_NEAR(fast[k], direct[k], 1e-4 * direct[k]) << "b " << b << " f " << f[k];
        }
    }
}

TEST(FourierSpectrum, SmoothingKeepsAConstantSpectrumAndEmptyInputGivesNothing) {
    std::vector<double> f(5000);
    for (std::size_t k = 0; k < f.size(); ++k) {
        f[k] = 0.01 * static_cast<double>(k + 1);
    }
    const std::vector<double> constant(f.size(), 3.5);
    for (const double value : KonnoOhmachiSmooth(f, constant, 40.0)) {
        EXPECT_NEAR(value, 3.5, 1e-12);
    }
    EXPECT_TRUE(KonnoOhmachiSmooth({}, {}, 40.0).empty());
    const FourierSpectrum none = ComputeFourierSpectrum({}, 0.01, 980.0, 40.0);
    EXPECT_TRUE(none.frequencies.empty());
    EXPECT_EQ(none.fftLength, 0);
}

TEST(FourierSpectrum, PadsToTheNextPowerOfTwoAndLeavesPowersOfTwoAlone) {
    const std::vector<double> a(1000, 0.001);
    EXPECT_EQ(ComputeFourierSpectrum(a, 0.01, 980.0, 0.0).fftLength, 1024);
    const std::vector<double> b(1024, 0.001);
    const FourierSpectrum fs = ComputeFourierSpectrum(b, 0.01, 980.0, 0.0);
    EXPECT_EQ(fs.fftLength, 1024);
    EXPECT_TRUE(fs.smoothed.empty());
    // A constant has all of its amplitude at frequency 0, which is not listed.
    for (const double amplitude : fs.amplitudes) {
        EXPECT_NEAR(amplitude, 0.0, 1e-12);
    }
}

}  // namespace
}  // namespace travik
