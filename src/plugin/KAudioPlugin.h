#pragma once
#include <atomic>
#include <memory>
#include <vector>

#include "foundation/KLock.h"
#include "foundation/KString.h"
#include "plugin/KAudioPluginAdapter.h"
#include "plugin/KAutomationAdapter.h"

// The full plug-in interface the host bridges drive: host-visible
// parameters, channel configuration, processing and the way back to the host.
class KAudioPlugin {
public:
    using AutomationAdapter = KAutomationAdapter;

    virtual ~KAudioPlugin();

    // Host parameters, found by binary search over the adapters' first indices.
    int GetParameterCount() const noexcept;
    void SetParameter(int index, double value, bool quiet = false);
    // Sets only when the value differs from the current one by more than 1e-7.
    void SetParameterIfChanged(int index, double value, bool quiet = false);
    double GetParameter(int index);
    KString GetParameterName(int index);
    // The identifier, or the name when the identifier is empty.
    KString GetParameterID(int index);
    KString GetParameterValueName(int index);
    KString GetParameterValueNameFrom01(int index, double value);
    double ParseParameterValueName(int index, const KString& text);
    KString GetParameterUnitsName(int index);
    int GetParameterType(int index);
    double GetParameterDefaultValue(int index);
    bool IsParameterReported(int index);
    // Host index of the parameter whose identifier (or name) is `id`, or -1.
    int FindParameter(const KString& id);

    // A parameter's display must be refreshed; the editor reads the pending
    // marks later (they are just kept while no editor is open).
    void NeedUpdateEditor(int index) noexcept;
    bool TakeEditorUpdate(int index) noexcept;

    // Called from the host's audio thread per block and sub-block.
    virtual void InitProcessing() = 0;
    virtual void Process(float** inputs, float** outputs, int sampleCount) = 0;
    virtual void ProcessUpdate() {}

    // Channel configuration.
    virtual int GetInputChannelCount() const;
    virtual int GetProcessedInputChannelCount() const;
    virtual int GetOutputChannelCount() const;
    virtual int GetProcessedOutputChannelCount() const;
    virtual int GetInputBusCount() const;
    virtual int GetOutputBusCount() const;
    void SetHostChannels(int inputs, int outputs) noexcept;
    void SetEffectChannels(int inputs, int outputs) noexcept;
    void SetChannelsPerBus(int channels) noexcept { m_channelsPerBus = channels; }
    int ChannelsPerBus() const noexcept { return m_channelsPerBus; }

    // Latency of the effect at the internal rate, and the output clip level
    // after upsampled processing (negative: no clipping).
    virtual int GetEffectLatency() { return 0; }
    virtual double GetOutputLimit() { return -1.0; }
    virtual bool ApplyOutputGainCorrection(double factor) {
        (void)factor;
        return false;
    }

    void SetSampleRate(double rate) noexcept { m_sampleRate = rate; }
    double SampleRate() const noexcept { return m_sampleRate; }
    void SetMaxBlockSize(int size) noexcept { m_maxBlockSize = size; }
    int MaxBlockSize() const noexcept { return m_maxBlockSize; }

    void SetHostAdapter(KAudioPluginAdapter* adapter) noexcept { m_hostAdapter = adapter; }
    KAudioPluginAdapter* HostAdapter() const noexcept { return m_hostAdapter; }

    KLock& PluginLock() noexcept { return m_pluginLock; }

protected:
    // Appends an adapter owning the next Count() host indices.
    void AddAutomationAdapter(std::unique_ptr<AutomationAdapter> adapter);
    // Called once all adapters are added.
    void CompleteParameterList();
    AutomationAdapter* FindAdapter(int index, int& localIndex) const noexcept;

    KLock m_pluginLock;
    double m_sampleRate = 44100;
    int m_maxBlockSize = 1024;
    int m_hostInputs = 2;
    int m_hostOutputs = 2;
    int m_effectInputs = 2;
    int m_effectOutputs = 2;
    int m_channelsPerBus = 2;

private:
    std::vector<std::unique_ptr<AutomationAdapter>> m_adapters;
    std::unique_ptr<std::atomic<bool>[]> m_editorUpdates;
    int m_parameterCount = 0;
    KAudioPluginAdapter* m_hostAdapter = nullptr;
};
