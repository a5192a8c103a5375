#pragma once
#include <cstdint>

// The entry function of an effect object: (effect handle or null, opcode,
// parameter block) -> pointer-sized result. The parameter block is an array
// of 64-bit words; the arguments stand at words 1, 3, 5 and 7.
using KPluginEntry = std::intptr_t (*)(void* instance, std::int32_t opcode, std::int64_t* parameters);

// Builds the parameter block of an entry call.
struct KPluginCallBlock {
    std::int64_t words[8] = {};

    KPluginCallBlock() = default;
    explicit KPluginCallBlock(std::int64_t first, std::int64_t second = 0, std::int64_t third = 0,
                              std::int64_t fourth = 0) {
        words[1] = first;
        words[3] = second;
        words[5] = third;
        words[7] = fourth;
    }
    std::int64_t Argument(int index) const noexcept { return words[1 + 2 * index]; }
};

// Opcodes understood by KPlugin::Dispatch and KAudioEffectPlugin::Dispatch.
namespace KPluginOpcode {
constexpr std::int32_t SetEntryPoint = 0;
constexpr std::int32_t Destroy = 1;
constexpr std::int32_t GetParameters = 2;  // also the effect's "parameters need redrawing" callback
constexpr std::int32_t Reserved3 = 3;
constexpr std::int32_t ParameterChanged = 4;
constexpr std::int32_t CreateControls = 5;
constexpr std::int32_t DestroyControls = 6;
constexpr std::int32_t Create = 7;
constexpr std::int32_t Store = 11;
constexpr std::int32_t Load = 12;
constexpr std::int32_t Reserved13 = 13;
constexpr std::int32_t Query14 = 14;
constexpr std::int32_t Query15 = 15;
constexpr std::int32_t Query20 = 20;
constexpr std::int32_t InitProcessing = 100;
constexpr std::int32_t Process = 101;
constexpr std::int32_t AcceptsProcessing = 102;
constexpr std::int32_t Latency = 103;
constexpr std::int32_t Skip = 104;
constexpr std::int32_t Query105 = 105;
constexpr std::int32_t ProcessUpdate = 106;
constexpr std::int32_t InitProcessingGUI = 107;
}  // namespace KPluginOpcode
