#include "core/measures/FourierSpectrum.h"

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

TEST(FourierSpectrum, LaHabraAmplitudesAgreeWithTheCgsV3File) {
    // CIWLT.V3, channel 1, "Fourier amplitude spectra in in/sec", three significant digits,
    // at the periods 0.5 to 10 s (at shorter periods CGS's values rise above dt * |FFT| of
    // the listed acceleration, up to 2.4 times at 0.04 s: not the same quantity there).
    const std::pair<double, double> cgs[] = {
        {0.5, .331e+01},  {0.55, .682e+01}, {0.6, .170e+01},  {0.65, .664e+01}, {0.7, .162e+02},
        {0.75, .107e+01}, {0.8, .185e+01},  {0.85, .263e+02}, {0.9, .509e+01},  {0.95, .114e+01},
        {1.0, .377e+01},  {1.1, .667e+01},  {1.2, .532e+01},  {1.3, .252e+01},  {1.4, .121e+02},
        {1.5, .365e+01},  {1.6, .481e+01},  {1.7, .209e+01},  {1.8, .454e+01},  {1.9, .156e+01},
        {2.0, .578e+01},  {2.2, .268e+01},  {2.4, .348e+01},  {2.6, .177e+01},  {2.8, .121e+01},
        {3.0, .151e+01},  {3.2, .851e+00},  {3.4, .880e+00},  {3.6, .159e+01},  {3.8, .136e+01},
        {4.0, .114e+01},  {4.2, .262e+00},  {4.4, .758e+00},  {4.6, .601e+00},  {4.8, .666e+00},
        {5.0, .810e+00},  {5.5, .668e+00},  {6.0, .454e+00},  {6.5, .331e+00},  {7.0, .346e+00},
        {7.5, .285e+00},  {8.0, .155e+00},  {8.5, .108e+00},  {9.0, .107e+00},  {9.5, .609e-01},
        {10.0, .454e-01}};
    // Zeros to 2^20 samples put an FFT frequency within 2.4e-5 Hz of every 1 / T, far
    // closer than the 1 / 301 s over which the spectrum of a 301 s record changes.
    const TimeHistory record = test::LoadSampleRecord("cgs-lahabra-wlt-090.txt", 0.02);
    std::vector<double> padded = record.RawAcceleration();
    padded.resize(1 << 20, 0.0);
    const FourierSpectrum fs = ComputeFourierSpectrum(padded, 0.02, 980.665, 0.0);
    const double df = fs.frequencies[0];
    for (const auto& [period, inchesPerSecond] : cgs) {
        const std::size_t k = static_cast<std::size_t>(std::llround(1.0 / period / df)) - 1;
        EXPECT_NEAR(fs.amplitudes[k] / 2.54, inchesPerSecond, 0.01 * inchesPerSecond)
            << "T = " << period << " s";
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
