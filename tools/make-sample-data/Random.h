#pragma once
// Reproducible random streams for the sample data.
//
// Every figure comes from a stream seeded by a hash of what it describes (industry,
// volume, region, year, topic), so a figure does not move when another industry,
// dataset or draw is added. Only the raw output of std::mt19937_64, which the C++
// standard fixes bit for bit, is used: the standard distributions are left alone
// because their results differ from one library to another.

#include <cstdint>
#include <random>
#include <string_view>

namespace sampledata {

// FNV-1a over the parts, with a separator so that ("ab","c") and ("a","bc") differ.
template <typename... Parts> std::uint64_t seedOf(const Parts&... parts) {
    std::uint64_t h = 0xcbf29ce484222325ULL;
    auto mix = [&h](std::string_view s) {
        for (unsigned char c : s) {
            h ^= c;
            h *= 0x100000001b3ULL;
        }
        h ^= 0x1f;
        h *= 0x100000001b3ULL;
    };
    (mix(std::string_view(parts)), ...);
    return h;
}

class Stream {
public:
    explicit Stream(std::uint64_t seed) : engine_(seed) {}

    // Uniform on [0, 1), from the top 53 bits of one output.
    double uniform() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

    double between(double lo, double hi) { return lo + (hi - lo) * uniform(); }

    // Approximately standard normal: the sum of twelve uniforms, centred. Bounded at
    // ±6, which suits figures that must stay plausible, and needs no libm call.
    double normal() {
        double sum = 0.0;
        for (int i = 0; i < 12; ++i)
            sum += uniform();
        return sum - 6.0;
    }

private:
    std::mt19937_64 engine_;
};

} // namespace sampledata
