#pragma once
// A torture instance reached through the VST 3 entry: the factory that
// GetPluginFactory answers and the component, processor and controller
// interfaces of the object it makes.
#include <array>
#include <mutex>
#include <utility>
#include <vector>

#include "KTortureInstance.h"
#include "hosts/vst3/Vst3HostObjects.h"
#include "hosts/vst3/abi/Vst3Factory.h"

// What the plug-in sends back through the controller: only counted, since
// a soak run would otherwise pile them up.
class KCountingComponentHandler final : public vst3test::HostObject<vst3::IComponentHandler> {
public:
    vst3::tresult VST3_API beginEdit(vst3::ParamID) override { return vst3::kResultOk; }
    vst3::tresult VST3_API performEdit(vst3::ParamID, vst3::ParamValue) override {
        edits.fetch_add(1, std::memory_order_relaxed);
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API endEdit(vst3::ParamID) override { return vst3::kResultOk; }
    vst3::tresult VST3_API restartComponent(vst3::int32) override {
        restarts.fetch_add(1, std::memory_order_relaxed);
        return vst3::kResultOk;
    }

    std::atomic<int> edits{0};
    std::atomic<int> restarts{0};
};

class KVst3Instance final : public KTortureInstance {
public:
    KVst3Instance(vst3::IPluginFactory& factory, int index, KTortureFailure& failure, KTortureCounters& counters);
    ~KVst3Instance() override;

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

    bool Known(int index) const noexcept { return index >= 0 && index < int(m_ids.size()); }
    // An index the plug-in does not have reaches it as an unknown id.
    vst3::ParamID IdOf(int index) const noexcept { return Known(index) ? m_ids[std::size_t(index)] : 0x7FFFFFF0u; }
    void QueueChange(vst3::ParamID id, double value);
    void AddChanges(vst3test::ParameterChanges& changes, KTortureRandom& random, int frames, bool events);
    void AddEvents(vst3test::EventList& events, KTortureRandom& random, int frames);

    vst3::IComponent* m_component = nullptr;
    vst3::IAudioProcessor* m_processor = nullptr;
    vst3::IEditController* m_controller = nullptr;
    vst3test::HostApplication m_host;
    KCountingComponentHandler m_handler;
    std::vector<vst3::ParamID> m_ids;
    vst3::ParamID m_bypassId = 0;
    bool m_hasBypass = false;
    vst3::ParamID m_programId = 0;
    bool m_hasProgram = false;

    // Changes the host made on its user-interface thread, handed to the
    // processor with the next block, as hosts do.
    std::mutex m_pendingLock;
    std::vector<std::pair<vst3::ParamID, double>> m_pending;
    // Audio thread only.
    vst3::ProcessContext m_context{};
    std::array<std::uint8_t, 8> m_dataBytes{};
};
