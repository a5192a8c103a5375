#pragma once
// A VST 2.4 host for tests: it answers and records the plug-in's requests
// and drives an effect only through its AEffect record. The effect comes
// from the built module (dlopen and VSTPluginMain) or, where a test must
// look inside the plug-in, from an adapter made in this process.
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "hosts/vst2/abi/VstEffect.h"
#include "hosts/vst2/abi/VstEvents.h"
#include "hosts/vst2/abi/VstOpcodes.h"
#include "hosts/vst2/abi/VstTimeInfo.h"

namespace Vst2Test {

using namespace Vst2;

struct HostCall {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
};

class TestHost {
public:
    explicit TestHost(VstIntPtr version = 2400) : m_version(version) {}
    ~TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    // Loads the module and asks it for an instance; null when it gives none.
    AEffect* LoadFromModule(const std::string& modulePath);
#if defined(HALVANE_MODULE)
    AEffect* LoadFromModule() { return LoadFromModule(HALVANE_MODULE); }
#endif
    // Takes over an effect made in this process by `make` from the callback.
    AEffect* Adopt(const std::function<AEffect*(audioMasterCallback)>& make);

    AEffect* Effect() const noexcept { return m_effect; }
    VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0);
    std::string Text(VstInt32 opcode, VstInt32 index = 0);
    VstIntPtr CanDo(const char* text) { return Dispatch(effCanDo, 0, 0, const_cast<char*>(text)); }
    // The usual start: sample rate, block size, resume.
    void Start(float rate, int blockSize);
    // One stereo block through processReplacing.
    void Process(const std::vector<float>* in, std::vector<float>* out);
    std::vector<std::uint8_t> Chunk();
    void LoadChunk(const std::vector<std::uint8_t>& chunk);
    // Closes the effect (effClose); the destructor does it otherwise.
    void Close();

    // What the host answers.
    void SetTime(const std::optional<VstTimeInfo>& time) { m_time = time; }
    void SetSizeWindowAnswer(VstIntPtr answer) { m_sizeWindowAnswer = answer; }
    // Called on every audioMasterAutomate (index, value).
    void OnAutomate(std::function<void(VstInt32, float)> handler) { m_onAutomate = std::move(handler); }
    // Called on every audioMasterProcessEvents, during the call.
    void OnEvents(std::function<void(const VstEvents&)> handler) { m_onEvents = std::move(handler); }

    std::vector<HostCall> Calls() const;
    std::vector<HostCall> CallsOf(VstInt32 opcode) const;
    void ClearCalls();

private:
    static VstIntPtr Callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt);
    VstIntPtr Answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

    VstIntPtr m_version;
    void* m_module = nullptr;
    AEffect* m_effect = nullptr;
    std::optional<VstTimeInfo> m_time;
    VstTimeInfo m_answeredTime{};
    VstIntPtr m_sizeWindowAnswer = 0;
    std::function<void(VstInt32, float)> m_onAutomate;
    std::function<void(const VstEvents&)> m_onEvents;
    mutable std::mutex m_callsLock;
    std::vector<HostCall> m_calls;
};

// Stereo test material: a few partials, the same for every call.
std::vector<float> TestSignal(int frames, int channel);

}  // namespace Vst2Test
