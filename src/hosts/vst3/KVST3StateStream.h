#pragma once
#include <cstdint>
#include <vector>

#include "hosts/vst3/abi/Vst3Host.h"

// Whole byte blocks through a host's stream.
namespace KVST3StateStream {

// Everything from the current position to the end.
std::vector<std::uint8_t> ReadAll(vst3::IBStream& stream);
// False when the host took fewer bytes than given.
bool WriteAll(vst3::IBStream& stream, const std::uint8_t* data, int size);

}  // namespace KVST3StateStream
