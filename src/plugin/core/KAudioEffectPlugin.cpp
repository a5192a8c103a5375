#include "plugin/core/KAudioEffectPlugin.h"


std::int64_t KAudioEffectPlugin::Dispatch(std::int32_t opcode, std::int64_t* parameters) {
    static std::int64_t noArguments[8] = {};
    std::int64_t* words = parameters ? parameters : noArguments;
    auto argument = [words](int index) { return words[1 + 2 * index]; };
    auto int32Argument = [&](int index) { return static_cast<std::int32_t>(argument(index)); };
    auto pointerArgument = [&](int index) { return reinterpret_cast<void*>(argument(index)); };

    switch (opcode) {
        case KPluginOpcode::InitProcessing: {
            const double sampleRate = *static_cast<const double*>(pointerArgument(1));
            const int result = InitProcessing(int32Argument(0), sampleRate);
            OnParametersChanged();
            SnapParameters();
            return result;
        }
        case KPluginOpcode::Process:
            Process(static_cast<KProcessingContext*>(pointerArgument(0)), static_cast<float**>(pointerArgument(1)),
                    static_cast<float**>(pointerArgument(2)), int32Argument(3));
            return 0;
        case KPluginOpcode::AcceptsProcessing: return AcceptsProcessing();
        case KPluginOpcode::Latency: return Latency();
        case KPluginOpcode::Skip: Skip(int32Argument(0)); return 0;
        case KPluginOpcode::Query105: return Query27();
        case KPluginOpcode::ProcessUpdate: ProcessUpdate(); return 0;
        case KPluginOpcode::InitProcessingGUI: InitProcessingGUI(); return 0;
        default: return KPlugin::Dispatch(opcode, parameters);
    }
}
