#include "hosts/common/KHostedPlugin.h"

#include "presets/library/KPluginPresets.h"

#include "foundation/core/Guard.h"
#include "foundation/platform/DataFolder.h"
#include "plugin/presets/KActivePresetMorph.h"
#include "presets/active/KActivePresetList.h"
#include "presets/library/KPresetFile.h"
#include "hosts/common/KPluginCreation.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"
#include "presets/state/KStateBlock.h"
#include "ui/editor/KPluginEditor.h"

std::unique_ptr<KHostedPlugin> KHostedPlugin::Create() {
    return std::make_unique<KHostedPlugin>(KCreatePluginObject());
}

KHostedPlugin::KHostedPlugin(std::unique_ptr<KQuenlorAudioEffectPlugin> plugin)
    : m_presets(std::make_unique<KPluginPresets>(*plugin)),
      m_activePresetList(std::make_unique<KActivePresetList>()),
      m_plugin(std::move(plugin)),
      m_editor(MakePluginEditor(*m_plugin)) {
    m_plugin->SetPresetNavigator(m_presets.get());
    const KString folder = KString::FromUTF16(KPlatform::MakerDataFolder(m_plugin->MakerName().ToUTF16()));
    if (!folder.IsEmpty())
        LoadActivePresetList(KPresetFile::PathIn(folder, KActivePresetList::FileName(m_plugin->ProductName())));
}

// The editor shows the plug-in, so it goes first.
KHostedPlugin::~KHostedPlugin() { m_editor.reset(); }

KString KHostedPlugin::ProductName() const { return m_plugin->ProductName(); }
KString KHostedPlugin::MakerName() const { return m_plugin->MakerName(); }

int KHostedPlugin::ParameterCount() const noexcept { return m_plugin->GetParameterCount(); }
// Hosts set and read parameters from any thread while a block runs; the
// effect's processing lock, which every block holds while it reads the
// parameters, keeps both sides whole. It is the innermost lock, so nothing
// taken under it waits for the others.
KScopedLock KHostedPlugin::HoldEffect() const {
    return KScopedLock(m_plugin->Effect() ? m_plugin->Effect()->ProcessingLock() : nullptr);
}

double KHostedPlugin::Parameter(int index) {
    const KScopedLock hold = HoldEffect();
    return m_plugin->GetParameter(index);
}

void KHostedPlugin::SetParameter(int index, double value) {
    const KScopedLock hold = HoldEffect();
    m_plugin->SetParameter(index, value);
}

void KHostedPlugin::SetParameterIfChanged(int index, double value) {
    const KScopedLock hold = HoldEffect();
    m_plugin->SetParameterIfChanged(index, value);
}

KString KHostedPlugin::ParameterName(int index) { return m_plugin->GetParameterName(index); }
KString KHostedPlugin::ParameterID(int index) { return m_plugin->GetParameterID(index); }
KString KHostedPlugin::ParameterValueText(int index) {
    const KScopedLock hold = HoldEffect();
    return m_plugin->GetParameterValueName(index);
}

// The text is made from a copy of the parameter's record, which a block
// may be writing.
KString KHostedPlugin::ParameterValueTextFor(int index, double value) {
    const KScopedLock hold = HoldEffect();
    return m_plugin->GetParameterValueNameFrom01(index, value);
}

double KHostedPlugin::ParseParameterText(int index, const KString& text) {
    const KScopedLock hold = HoldEffect();
    return m_plugin->ParseParameterValueName(index, text);
}

KString KHostedPlugin::ParameterUnits(int index) { return m_plugin->GetParameterUnitsName(index); }
double KHostedPlugin::ParameterDefault(int index) { return m_plugin->GetParameterDefaultValue(index); }
int KHostedPlugin::ParameterType(int index) { return m_plugin->GetParameterType(index); }
bool KHostedPlugin::IsParameterAutomatable(int index) { return m_plugin->IsParameterReported(index); }

void KHostedPlugin::SetSampleRate(double rate) noexcept { m_plugin->SetSampleRate(rate); }
void KHostedPlugin::SetMaxBlockSize(int frames) noexcept { m_plugin->SetMaxBlockSize(frames); }
void KHostedPlugin::SetHostChannels(int inputs, int outputs) noexcept { m_plugin->SetHostChannels(inputs, outputs); }

void KHostedPlugin::ConfigureHostChannels(int inputs, int outputs) {
    m_plugin->SetHostChannels(inputs < 0 ? m_plugin->HostInputChannels() : inputs, outputs);
    InitProcessing();
}

void KHostedPlugin::InitProcessing() {
    KGuard::Run("KAudioPlugin::InitProcessing", [&] { m_plugin->InitProcessing(); });
}

int KHostedPlugin::Latency() const noexcept { return m_plugin->GetLatency(); }
// A ring modulator stops sounding with its input.
int KHostedPlugin::TailSamples() const noexcept { return 0; }
bool KHostedPlugin::Bypass() const noexcept { return m_plugin->Bypass(); }
void KHostedPlugin::SetBypass(bool on) noexcept { m_plugin->SetBypass(on); }

int KHostedPlugin::InputChannelCount() const { return m_plugin->GetInputChannelCount(); }
int KHostedPlugin::OutputChannelCount() const { return m_plugin->GetOutputChannelCount(); }
int KHostedPlugin::InputBusCount() const { return m_plugin->GetInputBusCount(); }
int KHostedPlugin::OutputBusCount() const { return m_plugin->GetOutputBusCount(); }
int KHostedPlugin::ChannelsPerBus() const noexcept { return m_plugin->ChannelsPerBus(); }
void KHostedPlugin::SetChannelsPerBus(int channels) noexcept { m_plugin->SetChannelsPerBus(channels); }

namespace {

KString ChannelName(const KStringList& names, int channel) {
    return channel >= 0 && channel < int(names.size()) ? names[std::size_t(channel)] : KString();
}

}  // namespace

KString KHostedPlugin::InputChannelName(int channel) const {
    return ChannelName(m_plugin->ChannelLists().Inputs(), channel);
}

KString KHostedPlugin::OutputChannelName(int channel) const {
    return ChannelName(m_plugin->ChannelLists().Outputs(), channel);
}

// MIDI controllers drive parameters, so MIDI is taken in; the plug-in makes
// no MIDI of its own to offer. Tempo and position feed the pipeline's
// sub-block positions.
bool KHostedPlugin::AcceptsMIDIInput() const noexcept { return true; }
bool KHostedPlugin::SendsMIDIOutput() const noexcept { return false; }
bool KHostedPlugin::WantsTransport() const noexcept { return true; }

KHostedPlugin::HostChangeLock::HostChangeLock(KHostedPlugin& plugin) noexcept {
    KLock& first = plugin.m_plugin->PluginLock();
    if (!first.TryAcquire()) return;
    m_first = &first;
    m_second = &plugin.m_plugin->SecondLock();
    m_second->Acquire(KSynchronizer::kInfinite);
}

KHostedPlugin::HostChangeLock::~HostChangeLock() {
    if (!m_first) return;
    m_second->Release();
    m_first->Release();
}

KTransportInfo& KHostedPlugin::Transport() noexcept { return m_plugin->Transport(); }

void KHostedPlugin::ProcessMIDIMessage(int deltaFrames, const std::uint8_t* bytes) noexcept {
    KGuard::Run("KAudioPlugin::ProcessMIDIMessage", [&] { m_plugin->ProcessMIDIMessage(deltaFrames, bytes); });
}

void KHostedPlugin::ProcessController(int channel, int number, double value) noexcept {
    KGuard::Run("KAudioPlugin::ProcessMIDIController",
                [&] { m_plugin->ProcessMIDIController(channel, number, value); });
}

void KHostedPlugin::ProcessPitchBend(int channel, double bend) noexcept {
    KGuard::Run("KAudioPlugin::ProcessPitchBend", [&] { m_plugin->ProcessPitchBend(channel, bend); });
}

void KHostedPlugin::ProcessNote(int channel, int note, double velocity, bool on) noexcept {
    KGuard::Run("KAudioPlugin::ProcessNote", [&] { m_plugin->ProcessNote(channel, note, velocity, on); });
}

void KHostedPlugin::ProcessBlock(float** inputs, float** outputs, int frames, bool replacing) noexcept {
    m_plugin->ProcessBlock(inputs, outputs, frames, replacing);
}

KMemoryStream KHostedPlugin::SaveState() {
    return KGuard::Run("KHostedPlugin::SaveState", KMemoryStream(), [&] {
        KScopedLock hold(m_stateLock);
        return KStateBlock::Save(*m_plugin);
    });
}

bool KHostedPlugin::LoadState(const void* data, int size) {
    return KGuard::Run("KHostedPlugin::LoadState", false, [&] {
        const std::unique_ptr<KXMLDocument> document = KStateBlock::Parse(data, size);
        KScopedLock hold(m_stateLock);
        KStateBlock::Load(*m_plugin, *document);
        return true;
    });
}

void KHostedPlugin::SetEditorOpen(bool open) noexcept { m_plugin->SetEditorNotifications(open); }

void KHostedPlugin::EditorIdle() noexcept {
    m_plugin->ProcessUpdate();
    m_plugin->RunEditorNotifications();
}

void KHostedPlugin::SetHostAdapter(KAudioPluginAdapter* adapter) noexcept { m_plugin->SetHostAdapter(adapter); }

int KHostedPlugin::ActivePresetIndex() const noexcept { return m_plugin->ActivePresetIndex(); }

void KHostedPlugin::RequestActivePreset(int slot) {
    KGuard::Run("KHostedPlugin::RequestActivePreset", [&] {
        m_plugin->RequestActivePreset(slot);
        m_plugin->ApplyActivePresetRequest();
    });
}

void KHostedPlugin::ToggleActivePresetAB() {
    KGuard::Run("KHostedPlugin::ToggleActivePresetAB", [&] {
        m_plugin->ToggleActivePresetAB();
        m_plugin->ApplyActivePresetRequest();
    });
}

std::unique_ptr<KActivePresetMorph> KHostedPlugin::BeginActivePresetMorph() {
    return KGuard::Run("KHostedPlugin::BeginActivePresetMorph", std::unique_ptr<KActivePresetMorph>(),
                       [&] { return std::make_unique<KActivePresetMorph>(*m_plugin); });
}

KStringList KHostedPlugin::ActivePresetNames() const {
    KStringList names;
    for (const KActivePresetList::Entry& entry : m_activePresetList->Entries()) names.push_back(entry.name);
    return names;
}

int KHostedPlugin::CurrentActivePreset() { return m_plugin->CurrentActivePreset(); }

bool KHostedPlugin::LoadActivePreset(int index) {
    return KGuard::Run("KHostedPlugin::LoadActivePreset", false,
                       [&] { return m_activePresetList->LoadActivePreset(*m_plugin, index); });
}

void KHostedPlugin::LoadActivePresetList(const KString& path) {
    KGuard::Run("KHostedPlugin::LoadActivePresetList", [&] { m_activePresetList->Load(path); });
}

KPluginEditor& KHostedPlugin::Editor() const {
    if (!m_editor) throw KException("This build of the plug-in has no editor.");
    return *m_editor;
}

bool KHostedPlugin::CreateEditor() { return Editor().Create(); }
bool KHostedPlugin::EditorExists() const noexcept { return m_editor && m_editor->Exists(); }
void KHostedPlugin::DestroyEditor() { Editor().Destroy(); }

KAudioPluginAdapter::EditorSize KHostedPlugin::EditorSize() const noexcept {
    if (!m_editor) return {0, 0};
    return {m_editor->Width(), m_editor->Height()};
}

KAudioPluginAdapter::EditorSize KHostedPlugin::EditorMinimalSize() const noexcept {
    if (!m_editor) return {0, 0};
    return {m_editor->MinimalWidth(), m_editor->MinimalHeight()};
}

void KHostedPlugin::OpenEditor(std::uint64_t parentWindow) { Editor().Open(parentWindow); }
void KHostedPlugin::CloseEditor() { Editor().Close(); }
bool KHostedPlugin::IsEditorWindowOpen() const noexcept { return m_editor && m_editor->IsOpen(); }
void KHostedPlugin::IdleEditor() { Editor().Idle(); }
bool KHostedPlugin::EditorKey(const KKeyEvent& event) { return Editor().Key(event); }
void KHostedPlugin::ResizeEditor(int width, int height) { Editor().Resize(width, height); }
int KHostedPlugin::EditorConnectionFd() const noexcept { return m_editor ? m_editor->ConnectionFd() : -1; }
bool KHostedPlugin::EditorShiftHeld() const noexcept { return m_editor && m_editor->ShiftHeld(); }
