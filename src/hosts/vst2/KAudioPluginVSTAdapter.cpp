#include "hosts/vst2/KAudioPluginVSTAdapter.h"

#include "foundation/core/Diagnostics.h"
#include "foundation/core/Guard.h"
#include "foundation/text/KFormatter.h"
#include "hosts/common/KLibrary.h"
#include "hosts/vst2/KAudioPluginVSTAdapterEditor.h"
#include "hosts/vst2/KVst2CanDo.h"
#include "hosts/vst2/KVst2Record.h"
#include "hosts/vst2/KVst2Text.h"
#include "hosts/vst2/abi/VstOpcodes.h"

namespace Vst2 {

KAudioPluginVSTAdapter::KAudioPluginVSTAdapter(audioMasterCallback host, std::unique_ptr<KHostedPlugin> plugin,
                                               std::unique_ptr<KEditorWindow> window)
    : m_host(host), m_plugin(std::move(plugin)) {
    SetUpRecord();
    KPluginInstanceCreated(KPluginFormat::Vst2);
    m_plugin->SetHostAdapter(this);
    KGuard::Run("KAudioPluginVSTAdapter::KAudioPluginVSTAdapter", [&] {
        if (m_host) {
            // Hosts from before version numbers answer 0.
            const VstIntPtr version = CallHost(audioMasterVersion);
            SetUpPins(VstInt32(version == 0 ? 1 : version));
            SetUpIdentity();
            PrepareProcessing();
            resume();
        }
        if (window) {
            m_editor = std::make_unique<KEditor>(*this, std::move(window));
            m_effect.flags |= effFlagsHasEditor;
        }
        m_plugin->InitProcessing();
    });
}

KAudioPluginVSTAdapter::~KAudioPluginVSTAdapter() {
    KGuard::Run("KAudioPluginVSTAdapter::~KAudioPluginVSTAdapter", [&] {
        // The editor window belongs to the plug-in's user interface: it goes
        // first, before the plug-in it shows.
        m_editor.reset();
        m_plugin.reset();
    });
    KPluginInstanceDestroyed(KPluginFormat::Vst2);
}

KAudioPluginVSTAdapter* KAudioPluginVSTAdapter::FromEffect(AEffect* effect) noexcept {
    return effect ? static_cast<KAudioPluginVSTAdapter*>(effect->object) : nullptr;
}

void KAudioPluginVSTAdapter::SetUpRecord() {
    m_effect.magic = kEffectMagic;
    m_effect.object = this;
    m_effect.numPrograms = 0;
    m_effect.numParams = m_plugin->ParameterCount();
    m_effect.numInputs = 1;
    m_effect.numOutputs = 2;
    m_effect.flags = effFlagsCanReplacing;
    m_effect.ioRatio = 1.0f;
    m_effect.uniqueID = kUniqueID;
    m_effect.version = kVersion;
    ConnectRecordEntries(m_effect);
}

void KAudioPluginVSTAdapter::SetUpIdentity() {
    m_effect.uniqueID = kUniqueID;
    m_effect.flags |= effFlagsProgramChunks | effFlagsCanReplacing;
    if (m_plugin->AcceptsMIDIInput() && m_effect.numInputs == 0)
        m_effect.flags |= effFlagsIsSynth;
    else
        m_effect.flags &= ~effFlagsIsSynth;
}

VstIntPtr KAudioPluginVSTAdapter::CallHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                           float opt) const {
    return m_host ? m_host(const_cast<AEffect*>(&m_effect), opcode, index, value, ptr, opt) : 0;
}

void KAudioPluginVSTAdapter::PrepareProcessing() {
    KGuard::Run("KAudioPluginVSTAdapter::PrepareProcessing", [&] {
        const int latency = m_plugin->Latency();
        KDiagnostics::Report(KFormatter("Latency: {0}") << latency);
        m_effect.initialDelay = latency;
        CallHost(audioMasterIOChanged);
    });
}

void KAudioPluginVSTAdapter::resume() {
    KGuard::Run("KAudioPluginVSTAdapter::resume", [&] {
        if ((m_effect.flags & effFlagsIsSynth) || canDo("receiveVstMidiEvent") == 1) CallHost(audioMasterWantMidi, 0, 1);
        m_plugin->InitProcessing();
    });
}

void KAudioPluginVSTAdapter::setSampleRate(float rate) {
    KGuard::Run("KAudioPluginVSTAdapter::setSampleRate", [&] {
        // Some hosts send placeholder rates before the real one; the plug-in
        // is set up only for a rate that can carry audio.
        if (rate <= 100.0f) return;
        m_plugin->SetSampleRate(rate);
        m_plugin->InitProcessing();
    });
}

bool KAudioPluginVSTAdapter::IsSendingAutomationHere() const noexcept {
    return m_sendingAutomation.load(std::memory_order_acquire) == std::this_thread::get_id();
}

void KAudioPluginVSTAdapter::SendAutomation(std::int32_t index, double value) {
    if (index < 0 || index >= m_effect.numParams) return;
    m_sendingAutomation.store(std::this_thread::get_id(), std::memory_order_release);
    CallHost(audioMasterAutomate, index, 0, nullptr, float(value));
    m_sendingAutomation.store(std::thread::id(), std::memory_order_release);
}

void KAudioPluginVSTAdapter::BeginEdit(std::int32_t index) {
    if (index >= 0 && index < m_effect.numParams) CallHost(audioMasterBeginEdit, index);
}

void KAudioPluginVSTAdapter::EndEdit(std::int32_t index) {
    if (index >= 0 && index < m_effect.numParams) CallHost(audioMasterEndEdit, index);
}

bool KAudioPluginVSTAdapter::ChangeEditorSize(EditorSize size) {
    if (!m_editor || !m_editor->Window().Exists() || !m_editor->Window().IsShown()) return false;
    // Resizing the host's frame windows behind its back is not done: the
    // host that refuses owns its frame.
    return CallHost(audioMasterSizeWindow, size.width, size.height) != 0;
}

VstInt32 KAudioPluginVSTAdapter::getPlugCategory() const noexcept {
    return (m_effect.flags & effFlagsIsSynth) ? kPlugCategSynth : kPlugCategUnknown;
}

VstInt32 KAudioPluginVSTAdapter::canDo(const char* text) {
    return KGuard::Run("KAudioPluginVSTAdapter::canDo", 0, [&] {
        return CanDo(text, m_plugin->AcceptsMIDIInput(), m_plugin->SendsMIDIOutput());
    });
}

bool KAudioPluginVSTAdapter::getEffectName(char* text) {
    return KGuard::Run("KAudioPluginVSTAdapter::getEffectName", false, [&] {
        CopyHostText(m_plugin->ProductName(), text, kVstMaxEffectNameLen);
        return true;
    });
}

bool KAudioPluginVSTAdapter::getVendorString(char* text) {
    return KGuard::Run("KAudioPluginVSTAdapter::getVendorString", false, [&] {
        CopyHostText(m_plugin->MakerName(), text, kVstMaxVendorStrLen);
        return true;
    });
}

bool KAudioPluginVSTAdapter::getProductString(char* text) {
    return KGuard::Run("KAudioPluginVSTAdapter::getProductString", false, [&] {
        CopyHostText(m_plugin->ProductName(), text, kVstMaxProductStrLen);
        return true;
    });
}

}  // namespace Vst2

namespace Vst2 {

void KAudioPluginVSTAdapter::ParametersChanged() { CallHost(audioMasterUpdateDisplay); }

}  // namespace Vst2
