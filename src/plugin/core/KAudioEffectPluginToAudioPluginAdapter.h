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

    KPluginEntry m_effectEntry = nullptr;
    KAudioEffectPlugin* m_effect = nullptr;
    KLock m_effectLock;  // the effect's processing lock
    KProcessingSettings m_processingSettings;
    KProcessingContext m_context;
    bool m_midSide = false;
    int m_effectInputBuses = 1;
};
