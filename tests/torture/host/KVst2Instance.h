#pragma once
// A torture instance reached through the VST 2.4 entry: the AEffect record
// that VSTPluginMain answers, its dispatcher and its process entries.
#include "KTortureInstance.h"
#include "hosts/vst2/abi/VstEffect.h"
#include "hosts/vst2/abi/VstTimeInfo.h"

using KVst2Entry = Vst2::AEffect* (*)(Vst2::audioMasterCallback);

class KVst2Instance final : public KTortureInstance {
public:
    KVst2Instance(KVst2Entry entry, int index, KTortureFailure& failure, KTortureCounters& counters);
    ~KVst2Instance() override;

    int ParameterCount() override;
    std::string ParameterName(int index) override;
    void SetParameter(int index, double value) override;
    double GetParameter(int index) override;
    void ReadParameterTexts(int index) override;
    void TypeText(int index, const std::string& text) override;
    std::vector<std::uint8_t> SaveState() override;
    void SetBypass(bool bypass) override;
    void SwitchProgram(KTortureRandom& random) override;
    void Queries(KTortureRandom& random) override;
    void ExerciseEditor(KTortureRandom& random, KHostWindow& window) override;

private:
    void ProcessAudio(float** inputs, float** outputs, int frames, Buffers buffers, bool events,
                      KTortureRandom& random) override;
    int ReportedLatency() override;
    void Deactivate() override;
    void Activate() override;
    void ApplySetup(float sampleRate, int blockSize) override;
    void ApplySampleRateWhileRunning(float sampleRate) override;
    void LoadStateBytes(const std::vector<std::uint8_t>& state) override;

    static Vst2::VstIntPtr Callback(Vst2::AEffect* effect, Vst2::VstInt32 opcode, Vst2::VstInt32 index,
                                    Vst2::VstIntPtr value, void* ptr, float opt);
    Vst2::VstIntPtr Answer(Vst2::VstInt32 opcode);
    Vst2::VstIntPtr Dispatch(Vst2::VstInt32 opcode, Vst2::VstInt32 index = 0, Vst2::VstIntPtr value = 0,
                             void* ptr = nullptr, float opt = 0);
    void SendMidi(KTortureRandom& random, int frames);
    void AdvanceTransport(KTortureRandom& random, int frames);

    Vst2::AEffect* m_effect = nullptr;
    Vst2::VstTimeInfo m_time{};  // audio thread only
};
