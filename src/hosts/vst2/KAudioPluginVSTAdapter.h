#pragma once
#include <atomic>
#include <memory>
#include <thread>

#include "foundation/streams/KMemoryStream.h"
#include "foundation/threading/KLock.h"
#include "hosts/common/KHostedPlugin.h"
#include "hosts/vst2/KEditorWindow.h"
#include "hosts/vst2/KVst2MidiOutQueue.h"
#include "hosts/vst2/abi/VstEditor.h"
#include "hosts/vst2/abi/VstEffect.h"
#include "hosts/vst2/abi/VstEvents.h"
#include "hosts/vst2/abi/VstPins.h"
#include "plugin/core/KAudioPluginAdapter.h"

namespace Vst2 {

// One plug-in instance as a VST 2.4 effect: owns the plug-in and faces the
// host through the AEffect record, whose entries land in the operations
// below (the dispatcher's opcodes in KVst2Dispatcher.cpp).
class KAudioPluginVSTAdapter final : public KAudioPluginAdapter {
public:
    class KEditor;

    static constexpr VstInt32 kUniqueID = FourCharCode("KAe6");
    static constexpr VstInt32 kVersion = 1;
    static constexpr VstInt32 kVendorVersion = 1;

    // `host` may be null (no host: nothing is asked). `window` is the
    // plug-in's editor window, null for a plug-in without an editor.
    KAudioPluginVSTAdapter(audioMasterCallback host, std::unique_ptr<KHostedPlugin> plugin,
                           std::unique_ptr<KEditorWindow> window = nullptr);
    ~KAudioPluginVSTAdapter() override;
    KAudioPluginVSTAdapter(const KAudioPluginVSTAdapter&) = delete;
    KAudioPluginVSTAdapter& operator=(const KAudioPluginVSTAdapter&) = delete;

    AEffect* getAeffect() noexcept { return &m_effect; }
    static KAudioPluginVSTAdapter* FromEffect(AEffect* effect) noexcept;
    KHostedPlugin& Plugin() noexcept { return *m_plugin; }
    KEditor* Editor() noexcept { return m_editor.get(); }

    // KAudioPluginAdapter.
    void SendAutomation(std::int32_t index, double value) override;
    void SendBypassAutomation(bool state) override { (void)state; }
    void BeginEdit(std::int32_t index) override;
    void EndEdit(std::int32_t index) override;
    void GenerateMIDIEvent(std::int32_t deltaFrames, const std::uint8_t* midiData) override;
    void ReportLatency() override { PrepareProcessing(); }
    bool ChangeEditorSize(EditorSize size) override;
    void ParametersChanged() override;

    // Set-up.
    void resume();
    void setSampleRate(float rate);

    // Audio thread.
    void processReplacing(float** inputs, float** outputs, VstInt32 frames);
    void process(float** inputs, float** outputs, VstInt32 frames);
    VstInt32 processEvents(const VstEvents* events);

    // Parameters.
    void setParameter(VstInt32 index, float value);
    float getParameter(VstInt32 index);
    void getParameterName(VstInt32 index, char* text);
    void getParameterDisplay(VstInt32 index, char* text);
    void getParameterLabel(VstInt32 index, char* text);

    // State.
    VstInt32 getChunk(void** data);
    VstInt32 setChunk(const void* data, VstInt32 size);

    // Channels.
    bool getInputProperties(VstInt32 index, VstPinProperties* properties);
    bool getOutputProperties(VstInt32 index, VstPinProperties* properties);
    bool setSpeakerArrangement(const VstSpeakerArrangement* in, const VstSpeakerArrangement* out);

    // Identity and capabilities.
    bool getEffectName(char* text);
    bool getVendorString(char* text);
    bool getProductString(char* text);
    VstInt32 getPlugCategory() const noexcept;
    VstInt32 canDo(const char* text);

private:
    VstIntPtr CallHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0) const;
    void SetUpRecord();
    void SetUpPins(VstInt32 hostVersion);
    void SetUpIdentity();
    void PrepareProcessing();
    bool IsSendingAutomationHere() const noexcept;
    bool IsParameter(VstInt32 index) const noexcept;

    void PerformProcessing(float** inputs, float** outputs, VstInt32 frames, bool replacing);
    void ProcessWidened(float** inputs, float** outputs, VstInt32 frames, bool replacing);
    void UpdateTransport();
    void SendMidiQueue();
    bool PinProperties(VstInt32 index, bool input, VstPinProperties* properties);

    AEffect m_effect{};
    audioMasterCallback m_host;
    std::unique_ptr<KHostedPlugin> m_plugin;
    std::unique_ptr<KEditor> m_editor;

    // The bytes of the last getChunk, alive until the next one.
    KLock m_chunkLock;
    KMemoryStream m_chunk;

    KVst2MidiOutQueue m_midiOut;
    double m_lastSongPosition = 0;
    // The thread inside SendAutomation: the host's echo of the value on that
    // thread is not fed back into the plug-in.
    std::atomic<std::thread::id> m_sendingAutomation{};
};

}  // namespace Vst2
