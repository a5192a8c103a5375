#include "support/hostprogram/RawAudioFiles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace HostProgram {

namespace {

constexpr double kTolerance = 1e-6;

void WriteRaw(const std::string& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary);
    out.write(static_cast<const char*>(data), std::streamsize(size));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    WriteRaw(path, bytes.data(), bytes.size());
}

void WriteSamples(const std::string& path, const std::vector<float>& samples) {
    WriteRaw(path, samples.data(), samples.size() * sizeof(float));
}

std::vector<float> ReadSamples(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    std::vector<float> samples(bytes.size() / sizeof(float));
    if (!samples.empty()) std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
    return samples;
}

int CompareRenderings(const std::string& first, const std::string& second) {
    const std::vector<float> a = ReadSamples(first), b = ReadSamples(second);
    if (a.size() != b.size() || a.empty()) {
        std::printf("lengths differ: %zu and %zu samples\n", a.size(), b.size());
        return 1;
    }
    double largest = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const double difference = std::fabs(double(a[i]) - double(b[i]));
        // A sample that is not a number differs from everything.
        largest = std::isnan(difference) ? HUGE_VAL : std::max(largest, difference);
    }
    std::printf("%zu samples, largest difference %.3g\n", a.size(), largest);
    return largest <= kTolerance ? 0 : 1;
}

}  // namespace HostProgram
