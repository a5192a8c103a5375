#pragma once
#include <atomic>
#include <memory>

#include "foundation/text/KString.h"
#include "hosts/common/KHostedPlugin.h"
#include "hosts/vst3/KVST3BusList.h"
#include "hosts/vst3/KVST3EventQueue.h"
#include "hosts/vst3/KVST3ParameterList.h"
#include "hosts/vst3/KVST3Unknown.h"
#include "hosts/vst3/abi/Vst3Component.h"
#include "hosts/vst3/abi/Vst3Controller.h"
#include "plugin/core/KAudioPluginAdapter.h"

// One plug-in instance as a VST 3 object: audio processor and edit
// controller at once, so hosts never create, connect or synchronise a
// second object. It talks to the plug-in only through KHostedPlugin.
class KVST3EditorView;

class KAudioPluginVST3Adapter final : public vst3::IComponent,
                                      public vst3::IAudioProcessor,
                                      public vst3::IProcessContextRequirements,
                                      public vst3::IEditController,
                                      public vst3::IMidiMapping,
                                      public vst3::IUnitInfo,
                                      public vst3::IConnectionPoint,
                                      public KAudioPluginAdapter {
public:
    // Parameter IDs beside the plug-in's own 0..count-1.
    static constexpr vst3::ParamID kControllerBaseID = 10000;
    static constexpr vst3::ParamID kPitchBendID = kControllerBaseID + vst3::kPitchBend;
    static constexpr vst3::ParamID kBypassID = 32767;

    explicit KAudioPluginVST3Adapter(std::unique_ptr<KHostedPlugin> plugin);
    ~KAudioPluginVST3Adapter() override;
    KAudioPluginVST3Adapter(const KAudioPluginVST3Adapter&) = delete;
    KAudioPluginVST3Adapter& operator=(const KAudioPluginVST3Adapter&) = delete;

    // FUnknown
    vst3::tresult VST3_API queryInterface(const char* iid, void** obj) override;
    vst3::uint32 VST3_API addRef() override;
    vst3::uint32 VST3_API release() override;

    // IPluginBase (component and controller alike)
    vst3::tresult VST3_API initialize(vst3::FUnknown* context) override;
    vst3::tresult VST3_API terminate() override;

    // IComponent
    vst3::tresult VST3_API getControllerClassId(char* classId) override;
    vst3::tresult VST3_API setIoMode(vst3::IoMode mode) override;
    vst3::int32 VST3_API getBusCount(vst3::MediaType type, vst3::BusDirection dir) override;
    vst3::tresult VST3_API getBusInfo(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 index,
                                      vst3::BusInfo& bus) override;
    vst3::tresult VST3_API getRoutingInfo(vst3::RoutingInfo& inInfo, vst3::RoutingInfo& outInfo) override;
    vst3::tresult VST3_API activateBus(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 index,
                                       vst3::TBool state) override;
    vst3::tresult VST3_API setActive(vst3::TBool state) override;
    // Shared by IComponent and IEditController: the whole plug-in state.
    vst3::tresult VST3_API setState(vst3::IBStream* state) override;
    vst3::tresult VST3_API getState(vst3::IBStream* state) override;

    // IAudioProcessor
    vst3::tresult VST3_API setBusArrangements(vst3::SpeakerArrangement* inputs, vst3::int32 numIns,
                                              vst3::SpeakerArrangement* outputs, vst3::int32 numOuts) override;
    vst3::tresult VST3_API getBusArrangement(vst3::BusDirection dir, vst3::int32 index,
                                             vst3::SpeakerArrangement& arr) override;
    vst3::tresult VST3_API canProcessSampleSize(vst3::int32 symbolicSampleSize) override;
    vst3::uint32 VST3_API getLatencySamples() override;
    vst3::tresult VST3_API setupProcessing(vst3::ProcessSetup& setup) override;
    vst3::tresult VST3_API setProcessing(vst3::TBool state) override;
    vst3::tresult VST3_API process(vst3::ProcessData& data) override;
    vst3::uint32 VST3_API getTailSamples() override;

    // IProcessContextRequirements
    vst3::uint32 VST3_API getProcessContextRequirements() override;

    // IEditController
    vst3::tresult VST3_API setComponentState(vst3::IBStream* state) override;
    vst3::int32 VST3_API getParameterCount() override;
    vst3::tresult VST3_API getParameterInfo(vst3::int32 paramIndex, vst3::ParameterInfo& info) override;
    vst3::tresult VST3_API getParamStringByValue(vst3::ParamID id, vst3::ParamValue value, vst3::TChar* text) override;
    vst3::tresult VST3_API getParamValueByString(vst3::ParamID id, vst3::TChar* text, vst3::ParamValue& value) override;
    vst3::ParamValue VST3_API normalizedParamToPlain(vst3::ParamID id, vst3::ParamValue value) override;
    vst3::ParamValue VST3_API plainParamToNormalized(vst3::ParamID id, vst3::ParamValue plain) override;
    vst3::ParamValue VST3_API getParamNormalized(vst3::ParamID id) override;
    vst3::tresult VST3_API setParamNormalized(vst3::ParamID id, vst3::ParamValue value) override;
    vst3::tresult VST3_API setComponentHandler(vst3::IComponentHandler* handler) override;
    vst3::IPlugView* VST3_API createView(vst3::FIDString name) override;

    // IMidiMapping
    vst3::tresult VST3_API getMidiControllerAssignment(vst3::int32 busIndex, vst3::int16 channel,
                                                       vst3::CtrlNumber controller, vst3::ParamID& id) override;

    // IUnitInfo: one root unit, no program lists.
    vst3::int32 VST3_API getUnitCount() override;
    vst3::tresult VST3_API getUnitInfo(vst3::int32 unitIndex, vst3::UnitInfo& info) override;
    vst3::int32 VST3_API getProgramListCount() override;
    vst3::tresult VST3_API getProgramListInfo(vst3::int32 listIndex, vst3::ProgramListInfo& info) override;
    vst3::tresult VST3_API getProgramName(vst3::ProgramListID listId, vst3::int32 programIndex,
                                          vst3::TChar* name) override;
    vst3::tresult VST3_API getProgramInfo(vst3::ProgramListID listId, vst3::int32 programIndex,
                                          const char* attributeId, vst3::TChar* attributeValue) override;
    vst3::tresult VST3_API hasProgramPitchNames(vst3::ProgramListID listId, vst3::int32 programIndex) override;
    vst3::tresult VST3_API getProgramPitchName(vst3::ProgramListID listId, vst3::int32 programIndex,
                                               vst3::int16 midiPitch, vst3::TChar* name) override;
    vst3::UnitID VST3_API getSelectedUnit() override;
    vst3::tresult VST3_API selectUnit(vst3::UnitID unitId) override;
    vst3::tresult VST3_API getUnitByBus(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 busIndex,
                                        vst3::int32 channel, vst3::UnitID& unitId) override;
    vst3::tresult VST3_API setUnitProgramData(vst3::int32 listOrUnitId, vst3::int32 programIndex,
                                              vst3::IBStream* data) override;

    // IConnectionPoint
    vst3::tresult VST3_API connect(vst3::IConnectionPoint* other) override;
    vst3::tresult VST3_API disconnect(vst3::IConnectionPoint* other) override;
    vst3::tresult VST3_API notify(vst3::IMessage* message) override;

    // KAudioPluginAdapter
    void SendAutomation(std::int32_t index, double value) override;
    void SendBypassAutomation(bool state) override;
    void GenerateMIDIEvent(std::int32_t deltaFrames, const std::uint8_t* midiData) override;
    void ReportLatency() override;
    bool ChangeEditorSize(EditorSize size) override;
    void ParametersChanged() override;
    void BeginEdit(std::int32_t index) override;
    void EndEdit(std::int32_t index) override;
    // The editor view being destroyed.
    void ViewGone(KVST3EditorView* view) noexcept;

    // The name the host gave at initialisation.
    const KString& HostName() const noexcept { return m_hostName; }

    // The answer to a host asking for the tail: negative means never ending.
    static vst3::uint32 TailAnswer(int tailSamples) noexcept;
private:
    // Sample rates above 100 Hz reach the plug-in rounded half up.
    static double RoundedSampleRate(double rate) noexcept;

    vst3::FUnknown* Unknown() noexcept { return static_cast<vst3::IComponent*>(this); }
    vst3::FUnknown* FindInterface(const char* iid) noexcept;

    void ReadHostName(vst3::FUnknown* context);
    void BuildAudioBuses();
    void BuildEventBuses();
    void RegisterParameters();
    bool IsPluginParameter(vst3::ParamID id) const noexcept;
    void ReplaceHandler(vst3::IComponentHandler* handler) noexcept;

    // process(), step by step.
    void ProcessBlock(vst3::ProcessData& data);
    bool ApplyHostChanges(vst3::IParameterChanges* changes);
    void ApplyHostChange(vst3::ParamID id, double value);
    void UpdateTransport(const vst3::ProcessContext& context);
    void DeliverInputEvents(vst3::IEventList& events);
    void ProcessAudio(vst3::ProcessData& data);

    std::unique_ptr<KHostedPlugin> m_plugin;
    // The open editor view, which the host owns; null while there is none.
    KVST3EditorView* m_view = nullptr;
    KVST3RefCount m_references;
    bool m_initialized = false;
    bool m_counted = false;
    KString m_hostName;
    vst3::FUnknown* m_hostContext = nullptr;
    // Read by whichever thread sends automation.
    std::atomic<vst3::IComponentHandler*> m_handler{nullptr};
    vst3::IConnectionPoint* m_peer = nullptr;
    vst3::SpeakerArrangement m_inputArrangement = vst3::SpeakerArr::kStereo;
    vst3::SpeakerArrangement m_outputArrangement = vst3::SpeakerArr::kStereo;
    double m_lastSongPosition = 0;
    std::atomic<bool> m_sendingAutomation{false};
    std::atomic<bool> m_inSetActive{false};
    KVST3ParameterList m_parameters;
    KVST3BusList m_buses;
    KVST3EventQueue m_midiOut;
};
