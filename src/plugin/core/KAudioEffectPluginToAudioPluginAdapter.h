#pragma once
#include "plugin/core/KAudioEffectPlugin.h"
#include "plugin/core/KAudioPlugin.h"

// Turns one effect into a full plug-in: host parameters for its records,
// the processing set-up, and the per-block call into the effect.
class KAudioEffectPluginToAudioPluginAdapter : public KEventTarget, public KAudioPlugin {
public:
    KAudioEffectPluginToAudioPluginAdapter();
    ~KAudioEffectPluginToAudioPluginAdapter() override;

    // Creates the effect through its entry function; raises
    // "Error creating plugin." when none comes back.
    void Initialize(KPluginEntry effectEntry);

    void InitProcessing() override;
    // One sub-block: prepares, runs a pending full update, processes.
    void Process(float** inputs, float** outputs, int sampleCount) override;
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

protected:
    virtual void InitProcessingLockedPart();
    virtual void InitProcessingUnlockedPart() {}
    // Whether a multiparameter runs a ramp that must be updated in pieces
    // of at most "MaxLFOBlockSize" samples in this block. Multiparameters
    // are not part of this adapter yet, so none does.
    virtual bool MultiparametersNeedBlockwiseUpdates() { return false; }

private:
    static std::intptr_t EffectCallback(void* instance, std::int32_t opcode, std::int64_t* parameters);
    void AddRecordParameters();
    void DestroyEffect() noexcept;

    void StoreChannelMode(KStorageContext& context);
    void StoreSurroundChannels(KStorageContext& context);
    void StorePreviousNextPresetController(KStorageContext& context);

    // The MIDI control switches of the state; the controllers read them.
    struct PresetControllerSettings {
        bool enabled = false;
        int controller = 0;
        int channel = 0;
    };
    bool m_controllersEnabled = false;
    bool m_noteControllersEnabled = false;
    PresetControllerSettings m_previousNextPresetController;
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
};
