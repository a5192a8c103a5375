#pragma once
#include "plugin/core/KAudioEffectPlugin.h"
#include "plugin/core/KAudioPlugin.h"
#include "plugin/midi/KMIDIControllers.h"
#include "plugin/midi/KMIDITarget.h"
#include "plugin/multiparameters/KMultiParameters.h"
#include "plugin/parameters/SignalGeneratorParameters.h"

// Turns one effect into a full plug-in: host parameters for its records,
// the processing set-up, and the per-block call into the effect.
class KAudioEffectPluginToAudioPluginAdapter : public KEventTarget, public KAudioPlugin {
public:
    KAudioEffectPluginToAudioPluginAdapter();
    ~KAudioEffectPluginToAudioPluginAdapter() override;

    // Creates the effect through its entry function; raises
    // "Error creating plugin." when none comes back.
    void Initialize(KPluginEntry effectEntry);
    // The channel lists' mode (the "Surround" global setting), read by
    // whoever creates the plug-in; it takes effect in Initialize.
    void SetSurroundLayout(bool on) noexcept { m_surroundLayout = on; }

    void InitProcessing() override;
    // One sub-block: prepares, runs a pending full update, processes.
    void Process(float** inputs, float** outputs, int sampleCount) override;
    // Reaches the effect only once processing has been set up.
    void ProcessUpdate() override;
    void FullParameterUpdate() override;
    void BeginBlock(float** inputs, float** outputs, int sampleCount, bool replacing) override;

    int GetInputChannelCount() const override;
    int GetProcessedInputChannelCount() const override;
    int GetOutputChannelCount() const override;
    int GetProcessedOutputChannelCount() const override;
    int GetInputBusCount() const override;
    int GetOutputBusCount() const override;
    int GetEffectLatency() override;
    bool ApplyOutputGainCorrection(double factor) override;

    // MIDI in: the receivers hear each event first, then the controller
    // slots, note controllers and the preset switch trigger act on it.
    void ProcessNote(int channel, int note, double velocity, bool on) override;
    void ProcessAftertouch(int channel, double value) override;
    void ProcessPitchBend(int channel, double bend) override;
    void ProcessMIDIController(int channel, int number, double value) override;
    KMIDIControllers& MIDIControllers() noexcept { return m_midi; }

    // The state format written (461312), and the one a state without a
    // version is read as.
    static constexpr int kStateVersion = 461312;
    static constexpr int kUnversionedStateVersion = 328448;

    // The adapter's fields of the state, then StoreSettings.
    void Store(KStorageContext& context) override;
    // The settings a preset holds: the effect's records and waveforms, then
    // StoreStandardSettings. Loading holds the plug-in lock and both
    // processing locks throughout, so no block sees half of it, and ends
    // with InitProcessing, the editor refresh and ActualiseAfterLoading.
    virtual void StoreSettings(KStorageContext& context);
    void StoreStandardSettings(KStorageContext& context);
    // The "Controllers" and "NoteControllers" items of the stored settings,
    // in that order; loading resolves each slot's target by its stored key.
    void StoreControllers(KStorageContext& context);
    void StoreMultiParameters(KStorageContext& context);
    void StoreActivePresets(KStorageContext& context);
    void StoreCurrentPresetIndex(KStorageContext& context);
    // Brings what derives from the settings up to date after a load.
    virtual void ActualiseAfterLoading();

    // The version the last loaded state carried.
    int LoadedStateVersion() const noexcept { return m_loadedStateVersion; }
    // The preset manager's current preset, -1 for none.
    int CurrentPresetIndex() const noexcept { return m_currentPresetIndex; }
    void SetCurrentPresetIndex(int index) noexcept { m_currentPresetIndex = index; }

    KAudioEffectPlugin* Effect() const noexcept { return m_effect; }
    KProcessingSettings& ProcessingSettings() noexcept { return m_processingSettings; }
    bool MidSide() const noexcept { return m_midSide; }
    std::int64_t ProcessedSamples() const noexcept { return m_context.processedSamples; }
    // True once a processing set-up has completed.
    bool ProcessingActive() const noexcept { return m_processingActive.load(std::memory_order_acquire); }

    // While an editor is open, every processing set-up queues work for the
    // editor's thread, which runs it from RunEditorNotifications: the
    // effect's InitProcessingGUI, then a refresh of every parameter.
    void SetEditorNotifications(bool on) noexcept { m_editorNotifications.store(on, std::memory_order_release); }
    void RunEditorNotifications() noexcept;

    KMultiParameters& MultiParameters() noexcept { return m_multiParameters; }

protected:
    virtual void InitProcessingLockedPart();
    virtual void InitProcessingUnlockedPart() {}
    // The rate the effect runs at, given under the locks of each processing
    // set-up, for the parts that run beside the effect (meters).
    virtual void PassSampleRate(double sampleRate) { (void)sampleRate; }
    // Once per host block, before the effect runs: the multiparameters
    // apply what was edited since the last block and move their switch and
    // trigger ramps on by the block's length.
    virtual void PrepareForProcessing(int sampleCount);
    // Whether a multiparameter runs a ramp, so that the targets it moves
    // glide in pieces of at most "MaxLFOBlockSize" samples in this block.
    virtual bool MultiparametersNeedBlockwiseUpdates() { return m_multiParameters.NeedBlockwiseUpdates(); }
    // The preset switch trigger fired (step -1 previous, +1 next). Runs on
    // the audio thread: an override must only note the request and load
    // the preset elsewhere.
    virtual void SwitchPreset(int step) { (void)step; }
public:
    // A preset was applied: the host and the editor read every parameter
    // again.
    void OnPresetLoaded();
protected:

private:
    static std::intptr_t EffectCallback(void* instance, std::int32_t opcode, std::int64_t* parameters);
    void AddRecordParameters();
    void AddMIDIParameters();

    // The controllers' view of this plug-in.
    class MIDITarget final : public KMIDITarget {
    public:
        explicit MIDITarget(KAudioEffectPluginToAudioPluginAdapter& plugin) : m_plugin(plugin) {}
        int MIDITargetCount() const noexcept override { return m_plugin.GetParameterCount(); }
        double GetTargetValue(int index) override { return m_plugin.GetParameter(index); }
        void SetTargetValue(int index, double value) override { m_plugin.SetParameter(index, value); }
        KString TargetKey(int index) override { return m_plugin.GetParameterID(index); }
        int FindTarget(const KString& key) override { return m_plugin.FindParameter(key); }
        void SwitchPreset(int step) override { m_plugin.SwitchPreset(step); }

    private:
        KAudioEffectPluginToAudioPluginAdapter& m_plugin;
    };
    void DestroyEffect() noexcept;
    void InitProcessingGUI();

    void StoreChannelMode(KStorageContext& context);
    void StoreSurroundChannels(KStorageContext& context);

    // The selection in the active presets list, and whether the settings
    // were edited since that preset was applied.
    int m_currentActivePreset = 0;
    bool m_activePresetEdited = false;
    int m_currentPresetIndex = -1;
    int m_loadedStateVersion = kStateVersion;

    KPluginEntry m_effectEntry = nullptr;
    KAudioEffectPlugin* m_effect = nullptr;
    KLock m_effectLock;  // the effect's processing lock
    KProcessingSettings m_processingSettings;
    KProcessingContext m_context;
    bool m_midSide = false;
    int m_effectInputBuses = 1;
    bool m_surroundLayout = false;
    std::atomic<bool> m_processingActive{false};
    std::atomic<bool> m_editorNotifications{false};
    std::atomic<bool> m_editorWorkQueued{false};
    KMultiParameters m_multiParameters{*this};
    std::vector<std::unique_ptr<KSignalGeneratorLink>> m_generatorLinks;
    MIDITarget m_midiTarget{*this};
    KMIDIControllers m_midi{m_midiTarget};
};
