#pragma once
// The files the host programs exchange: state blocks as they are, and
// renderings as interleaved 32-bit floats in the machine's byte order
// (both builds run on little-endian x86-64).
#include <cstdint>
#include <string>
#include <vector>

namespace HostProgram {

std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WriteSamples(const std::string& path, const std::vector<float>& samples);
std::vector<float> ReadSamples(const std::string& path);

// The compare command of both programs: 0 when both renderings have the
// same, non-zero length and differ nowhere by more than 1e-6; it prints the
// length and the largest difference.
int CompareRenderings(const std::string& first, const std::string& second);

}  // namespace HostProgram
