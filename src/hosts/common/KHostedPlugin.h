#pragma once
#include <cstdint>
#include <memory>

#include "foundation/streams/KMemoryStream.h"
#include "foundation/threading/KLock.h"
#include "foundation/text/KString.h"
#include "foundation/threading/KLock.h"
#include "foundation/threading/KSynchronizer.h"
#include "plugin/core/KAudioPluginAdapter.h"
#include "plugin/core/KTransportInfo.h"

class KActivePresetList;
class KActivePresetMorph;
class KPluginPresets;
class KPluginEditor;
class KQuenlorAudioEffectPlugin;
struct KKeyEvent;

// The plug-in as a host bridge sees it: parameters by index with their
// texts, processing set-up, the block entry, MIDI in, state and latency.
// The bridges talk to nothing else, so the plug-in's internals can change
// without touching a format wrapper. Every operation that reaches the
// plug-in runs in its guard, so nothing thrown escapes to a host.
class KHostedPlugin {
public:
    // A complete plug-in object (Halvane by Quenlor).
    static std::unique_ptr<KHostedPlugin> Create();
    explicit KHostedPlugin(std::unique_ptr<KQuenlorAudioEffectPlugin> plugin);
    ~KHostedPlugin();
    KHostedPlugin(const KHostedPlugin&) = delete;
    KHostedPlugin& operator=(const KHostedPlugin&) = delete;

    KString ProductName() const;
    KString MakerName() const;

    // Parameters, normalised 0..1.
    int ParameterCount() const noexcept;
    double Parameter(int index);
    void SetParameter(int index, double value);
    // A host change that may repeat the current value: applied only when it
    // differs by more than 1e-7.
    void SetParameterIfChanged(int index, double value);
    KString ParameterName(int index);
    KString ParameterID(int index);
    KString ParameterValueText(int index);
    KString ParameterValueTextFor(int index, double value);
    // The normalised value the text stands for; the current value when the
    // text cannot be read.
    double ParseParameterText(int index, const KString& text);
    KString ParameterUnits(int index);
    double ParameterDefault(int index);
    int ParameterType(int index);
    bool IsParameterAutomatable(int index);

    // Processing set-up; InitProcessing applies what was set.
    void SetSampleRate(double rate) noexcept;
    void SetMaxBlockSize(int frames) noexcept;
    void SetHostChannels(int inputs, int outputs) noexcept;
    // The channels the host will connect, then InitProcessing; inputs -1
    // keeps the inputs as they are.
    void ConfigureHostChannels(int inputs, int outputs);
    void InitProcessing();
    int Latency() const noexcept;
    // Samples of output that follow the end of the input; negative for an
    // output that never ends.
    int TailSamples() const noexcept;
    bool Bypass() const noexcept;
    void SetBypass(bool on) noexcept;

    // Channels as the plug-in offers them to the host.
    int InputChannelCount() const;
    int OutputChannelCount() const;
    int InputBusCount() const;
    int OutputBusCount() const;
    int ChannelsPerBus() const noexcept;
    void SetChannelsPerBus(int channels) noexcept;
    // Empty for a channel outside the list.
    KString InputChannelName(int channel) const;
    KString OutputChannelName(int channel) const;

    // What the plug-in takes from and gives to the host besides audio.
    bool AcceptsMIDIInput() const noexcept;
    bool SendsMIDIOutput() const noexcept;
    bool WantsTransport() const noexcept;

    // The audio thread.
    // Holds the plug-in's first two processing locks around host changes
    // that must land before a block. The first is only tried: a block that
    // meets a running processing set-up or state loading gives up at once.
    class HostChangeLock {
    public:
        explicit HostChangeLock(KHostedPlugin& plugin) noexcept;
        ~HostChangeLock();
        HostChangeLock(const HostChangeLock&) = delete;
        HostChangeLock& operator=(const HostChangeLock&) = delete;
        bool Held() const noexcept { return m_first != nullptr; }

    private:
        KLock* m_first = nullptr;
        KLock* m_second = nullptr;
    };
    KTransportInfo& Transport() noexcept;
    void ProcessMIDIMessage(int deltaFrames, const std::uint8_t* bytes) noexcept;
    // The plug-in's MIDI entries for hosts that send notes and controllers
    // as values rather than bytes; the values arrive as given, without the
    // 7 or 14 bits of a MIDI message. Channels 0-based, values and
    // velocities 0..1, bend -1..1.
    void ProcessController(int channel, int number, double value) noexcept;
    void ProcessPitchBend(int channel, double bend) noexcept;
    void ProcessNote(int channel, int note, double velocity, bool on) noexcept;
    void ProcessBlock(float** inputs, float** outputs, int frames, bool replacing) noexcept;

    // The state block hosts keep: zlib-compressed XML, plain XML accepted
    // on loading. A failed save gives an empty block. A block that cannot
    // be read answers false and leaves the plug-in as it was: it is read
    // whole before any of it is applied.
    KMemoryStream SaveState();
    bool LoadState(const void* data, int size);

    // The editor's side: while it is open, processing set-ups queue work
    // that its idle call runs, together with the plug-in's pending updates.
    void SetEditorOpen(bool open) noexcept;
    void EditorIdle() noexcept;

    // The active-preset slots A to H (0 to 7), for the editor, from a
    // thread that is not the audio thread. A switch is made before the
    // call returns: the current settings go into the slot in use, the
    // other slot's settings are loaded and the host hears that parameters
    // changed. Asking for the slot in use does nothing.
    int ActivePresetIndex() const noexcept;
    void RequestActivePreset(int slot);
    // Back to the slot used before (nothing when there is none yet).
    void ToggleActivePresetAB();
    // Opens ABCD morphing over slots A to D (see KActivePresetMorph); null
    // when it cannot be opened. The session must end before this object.
    std::unique_ptr<KActivePresetMorph> BeginActivePresetMorph();

    // The read-only active presets list ("Halvanepresets.active" in the
    // maker's data folder, read when the plug-in is made): its entry
    // names, the selection the state keeps, and applying an entry (false
    // when it is not in the list or cannot be read; nothing changes then).
    KStringList ActivePresetNames() const;
    int CurrentActivePreset();
    bool LoadActivePreset(int index);
    // Reads the list from another file instead.
    void LoadActivePresetList(const KString& path);

    // False in builds without an editor: bridges then declare none, and the
    // editor operations below answer sizes of 0, -1 for the connection and
    // raise KException for everything else.
    bool HasEditor() const noexcept { return m_editor != nullptr; }
    // The editor window. CreateEditor makes its controls (true when this
    // call made them); sizes are 0 until then. OpenEditor embeds it into
    // the host's X11 window; CloseEditor takes it out again and
    // DestroyEditor drops its controls too. Failures raise KException for
    // the bridge's guard.
    bool CreateEditor();
    bool EditorExists() const noexcept;
    void DestroyEditor();
    KAudioPluginAdapter::EditorSize EditorSize() const noexcept;
    KAudioPluginAdapter::EditorSize EditorMinimalSize() const noexcept;
    void OpenEditor(std::uint64_t parentWindow);
    void CloseEditor();
    bool IsEditorWindowOpen() const noexcept;
    // One pass of the window's pending events and repaints.
    void IdleEditor();
    // True when the editor used the key.
    bool EditorKey(const KKeyEvent& event);
    // Lays the editor out for that size (held at its minimal size) and
    // resizes its window.
    void ResizeEditor(int width, int height);
    // The editor window's display connection, -1 while closed.
    int EditorConnectionFd() const noexcept;
    bool EditorShiftHeld() const noexcept;

    void SetHostAdapter(KAudioPluginAdapter* adapter) noexcept;

private:
    KScopedLock HoldEffect() const;
    KPluginEditor& Editor() const;

    // Declared before the plug-in so that it goes after it: the plug-in's
    // update thread may step through the library until the plug-in is gone.
    std::unique_ptr<KPluginPresets> m_presets;
    std::unique_ptr<KActivePresetList> m_activePresetList;
    std::unique_ptr<KQuenlorAudioEffectPlugin> m_plugin;
    // Hosts may save and restore from several threads at once; the slot
    // copies a save reads are the ones a restore replaces.
    KLock m_stateLock;
    std::unique_ptr<KPluginEditor> m_editor;
};
