// The equalizer's filter kernels against a plain cascade of biquads. Each
// processor runs only one of the kernel builds, so they are tested here
// directly, every build the machine can run, for every section count, one
// and two channels, and blocks shorter and longer than the cascade.
#include "biquad.h"
#include "biquad_kernels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <string>
#include <vector>

namespace {

using vbmp3::BiquadCascade;
using vbmp3::BiquadCoefficients;
namespace kernels = vbmp3::biquad_kernels;

// Transposed direct form II, one frame at a time, in double.
std::vector<float> referenceCascade(const std::vector<BiquadCoefficients>& sections, const std::vector<float>& input,
                                    int channels)
{
    std::vector<float> output(input.size());
    std::vector<double> z1(sections.size() * 2), z2(sections.size() * 2);
    const std::size_t frames = input.size() / static_cast<std::size_t>(channels);
    for (std::size_t i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            double x = input[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)];
            for (std::size_t k = 0; k < sections.size(); ++k) {
                const BiquadCoefficients& f = sections[k];
                const std::size_t s = 2 * k + static_cast<std::size_t>(c);
                const double y = f.b0 * x + z1[s];
                z1[s] = f.b1 * x - f.a1 * y + z2[s];
                z2[s] = f.b2 * x - f.a2 * y;
                x = y;
            }
            output[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] = static_cast<float>(x);
        }
    }
    return output;
}

struct Build {
    const char* name;
    const kernels::Table& (*table)();
    bool runsHere;
};

std::vector<Build> builds()
{
    return {{"plain", &kernels::plain, true},
            {"fused", &kernels::fused, __builtin_cpu_supports("fma") && __builtin_cpu_supports("avx2")},
            {"wide", &kernels::wide, __builtin_cpu_supports("avx512f") != 0}};
}

class FilterKernels : public ::testing::TestWithParam<Build> {};

TEST_P(FilterKernels, MatchAPlainCascadeAcrossBlocks)
{
    if (!GetParam().runsHere)
        GTEST_SKIP() << "this processor cannot run the " << GetParam().name << " build";
    const kernels::Table& table = GetParam().table();
    std::mt19937 random(7);
    std::uniform_real_distribution<float> sample(-0.5f, 0.5f);
    const double bands[] = {60, 170, 310, 600, 1000, 3000, 6000, 12000, 14000, 16000};
    for (std::size_t count = 1; count <= BiquadCascade::kMaxSections; ++count) {
        std::vector<BiquadCoefficients> sections;
        for (std::size_t k = 0; k < count; ++k)
            sections.push_back(vbmp3::peakingFilter(bands[k], 44100, (k % 2 ? -1.0 : 1.0) * (3.0 + static_cast<double>(k)), 1.41));
        for (int channels : {1, 2}) {
            // Blocks shorter than, as long as and longer than the cascade.
            const std::vector<std::size_t> blocks{1, 3, count - 1, count, count + 1, 0, 1152, 7};
            std::vector<float> input;
            for (std::size_t block : blocks)
                for (std::size_t i = 0; i < block * static_cast<std::size_t>(channels); ++i)
                    input.push_back(sample(random));
            const std::vector<float> expected = referenceCascade(sections, input, channels);

            std::vector<float> data = input;
            std::vector<BiquadCascade::State> state(count);
            const auto& run = channels == 2 ? table.stereo : table.mono;
            std::size_t at = 0;
            for (std::size_t block : blocks) {
                run[count - 1](sections.data(), state.data(), data.data() + at * static_cast<std::size_t>(channels), block);
                at += block;
            }
            double worst = 0.0;
            for (std::size_t i = 0; i < data.size(); ++i)
                worst = std::max(worst, static_cast<double>(std::abs(data[i] - expected[i])));
            EXPECT_LT(worst, 1e-5) << count << " sections, " << channels << " channel(s)";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, FilterKernels, ::testing::ValuesIn(builds()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Equalizer, PeakingFilterGainAtItsCentreAndFarAway)
{
    // |H| at f of a section, from its coefficients.
    const auto gainDb = [](const BiquadCoefficients& f, double hz, double rate) {
        const double w = 2.0 * M_PI * hz / rate;
        const std::complex<double> z = std::polar(1.0, -w);
        const std::complex<double> h = (f.b0 + f.b1 * z + f.b2 * z * z) / (1.0 + f.a1 * z + f.a2 * z * z);
        return 20.0 * std::log10(std::abs(h));
    };
    const BiquadCoefficients boost = vbmp3::peakingFilter(1000, 44100, 12.0, 1.41);
    EXPECT_NEAR(gainDb(boost, 1000, 44100), 12.0, 1e-9);
    EXPECT_LT(std::abs(gainDb(boost, 100, 44100)), 0.2);
    EXPECT_LT(std::abs(gainDb(boost, 10000, 44100)), 0.3);
}

} // namespace
