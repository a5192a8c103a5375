#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "foundation/core/Guard.h"
#include "foundation/threading/KLock.h"
#include "foundation/threading/KRelaxed.h"
#include "foundation/text/KString.h"
#include "plugin/core/KAudioPluginAdapter.h"
#include "plugin/core/KAutomationAdapter.h"
#include "plugin/core/KChannelLists.h"
#include "plugin/core/KParameterLookup.h"
#include "plugin/pipeline/KParameterInterpolator.h"
#include "plugin/pipeline/KPipelineSettings.h"
#include "plugin/pipeline/KProcessingPipeline.h"
#include "plugin/core/KTransportInfo.h"
#include "plugin/midi/KMIDIProcessor.h"

class KStorageContext;
class KAutomationUpdateThread;

// The editor system's side of parameter display updates: asked, from the
// automation-update thread, to take the pending list and redraw.
class KEditorUpdateTarget {
public:
    virtual void RequestParameterUpdate() = 0;

protected:
    ~KEditorUpdateTarget() = default;
};

// The full plug-in interface the host bridges drive: host-visible
// parameters, channel configuration, processing and the way back to the host.
class KAudioPlugin : public KMIDIProcessor {
public:
    using AutomationAdapter = KAutomationAdapter;

    // Starts the automation-update thread; the destructor stops it.
    KAudioPlugin();
    ~KAudioPlugin() override;
    KAudioPlugin(const KAudioPlugin&) = delete;
    KAudioPlugin& operator=(const KAudioPlugin&) = delete;

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
    // The text of the parameter's default value.
    KString GetParameterDefaultValueName(int index);
    double ParseParameterValueName(int index, const KString& text);
    KString GetParameterUnitsName(int index);
    int GetParameterType(int index);
    double GetParameterDefaultValue(int index);
    bool IsParameterReported(int index);
    // Host index of the parameter whose identifier is `id`, else of the one
    // parameter named `id`; -1 when there is none or the name is shared.
    // The first look-up after the list changed builds the lookup anew.
    int FindParameter(const KString& id);

    // A parameter's display must be refreshed. The index is marked and its
    // adapter joins the pending-update list (once); the automation-update
    // thread asks the editor to take the list. Cheap enough for the audio
    // thread: the editor-update lock is only ever held for a list append or
    // swap, and the list's room is reserved in advance.
    void NeedUpdateEditor(int index) noexcept;
    void NeedUpdateEditor(AutomationAdapter& adapter) noexcept;
    bool TakeEditorUpdate(int index) noexcept;
    // Moves the pending adapters into `adapters` (emptied first).
    void TakePendingEditorUpdates(std::vector<AutomationAdapter*>& adapters);
    bool HasPendingEditorUpdates();
    // Work the audio thread asked for that must not run there (loading a
    // preset the MIDI trigger chose); the update thread runs it. A plain
    // function, set once the plug-in is complete: the thread runs from the
    // base's construction to its destruction, when no virtual call is safe.
    using DeferredWork = void (*)(KAudioPlugin& plugin);
    void SetDeferredWork(DeferredWork work) noexcept { m_deferredWork.store(work); }
    void RunDeferredWork() {
        if (DeferredWork work = m_deferredWork.load()) work(*this);
    }
    // Ends the update thread; derived plug-ins call it first in their
    // destructors, before what the thread reaches goes away.
    void StopAutomationUpdateThread() noexcept;
    // The editor system, or null while there is none.
    void SetEditorUpdateTarget(KEditorUpdateTarget* target) noexcept;
    KEditorUpdateTarget* EditorUpdateTarget() const noexcept { return m_editorTarget.load(); }
    // Wakes the automation-update thread now rather than at its next round.
    void WakeAutomationUpdateThread() noexcept;
    const KAutomationUpdateThread& AutomationUpdateThread() const noexcept { return *m_updateThread; }

    // Removes every adapter (the plug-in is going away), or only the
    // temporary ones (the editor closed). Both under the plug-in lock, so no
    // block is running.
    void ClearAutomationAdapters();
    void DestroyTemporaryAutomationAdapters();

    // The plug-in's whole state in one operation for both directions; the
    // base refreshes an open editor after loading.
    virtual void Store(KStorageContext& context) { (void)context; }

    // One short MIDI message from the host (status byte first, up to two
    // data bytes), at a sample offset inside the coming block: note on
    // (velocity 0 is a note off), note off, control change, channel pressure
    // and pitch bend (14 bits); everything else is ignored. Events take
    // effect at the start of the coming block, so a caller that wants them
    // sample-exact cuts its blocks at deltaFrames.
    virtual void ProcessMIDIMessage(int deltaFrames, const std::uint8_t* bytes);

    // The host block, which both bridges call: `inputs` and `outputs` hold
    // one pointer per host channel (null for a missing one); `replacing`
    // overwrites the outputs, otherwise the result is added to them.
    void ProcessBlock(float** inputs, float** outputs, int sampleCount, bool replacing) noexcept;

    // Processing set-up; runs again after every change of rate, block
    // size, channels or pipeline settings.
    virtual void InitProcessing() = 0;
    // One sub-block at the internal rate, called by the pipeline.
    virtual void Process(float** inputs, float** outputs, int sampleCount) = 0;
    virtual void ProcessUpdate() {}
    // Recomputes everything that depends on parameter values.
    virtual void FullParameterUpdate() {}

    // Hooks of the pipeline around the effect, on the audio thread.
    virtual void BeginBlock(float** inputs, float** outputs, int sampleCount, bool replacing) {
        (void)inputs, (void)outputs, (void)sampleCount, (void)replacing;
    }
    virtual void EndBlock(float** inputs, float** outputs, int sampleCount, bool replacing) {
        (void)inputs, (void)outputs, (void)sampleCount, (void)replacing;
    }
    virtual void PrepareForProcessingOnce(float** inputs, float** outputs, int sampleCount) {
        (void)inputs, (void)outputs, (void)sampleCount;
    }
    // A channel the channel mode leaves unprocessed, after its dry delay;
    // `coded` when it holds a mid or side signal.
    virtual void ProcessPassThroughChannel(float* samples, int sampleCount, bool coded) {
        (void)samples, (void)sampleCount, (void)coded;
    }
    // Clears delay lines, filter histories and the gain compensation.
    virtual void ResetProcessingState();

    // Parameter interpolation across the sub-blocks of one block.
    bool InterpolationPrepare(int sampleCount);
    // A block not cut for interpolation: its values are the next glide's start.
    void InterpolationTakeOver() { m_interpolator.TakeOver(); }
    void InterpolationProcess(int sampleCount);
    void InterpolationFinish();
    const KParameterInterpolator& Interpolator() const noexcept { return m_interpolator; }

    // Pipeline settings. Those that change the processing set-up run
    // InitProcessing; the bypass and the sub-block size apply at the next
    // block.
    const KPipelineSettings& PipelineSettings() const noexcept { return m_settings; }
    void SetBypass(bool on) noexcept { m_settings.bypass.store(on); }
    bool Bypass() const noexcept { return m_settings.bypass.load(); }
    void SetChannelMode(int mode);
    void SetSurroundChannelEnabled(int channel, bool on);
    // Kept as given: the pipeline cuts pieces of 256 samples for a limit
    // below 1, so a stored 0 means the default and saves back as 0.
    void SetMaxLFOBlockSize(int size) noexcept { m_settings.maxLFOBlockSize.store(size); }
    // Factors 1 (off), 2, 4 and 8; others are taken as 1.
    void SetUpsamplingFactor(int factor);
    void SetHighQualityUpsampling(bool on);
    void SetLongUpsamplingFilter(bool on);
    void SetAutomaticGainControl(bool on);

    // State of the pipeline in force since the last processing set-up.
    double InternalSampleRate() const noexcept { return m_pipeline.InternalSampleRate(); }
    int ChannelModeInForce() const noexcept { return m_pipeline.ChannelMode(); }
    // Samples by which the output lags the input, as reported to the host.
    int GetLatency() const noexcept { return m_pipeline.Latency(); }
    const KProcessingPipeline& Pipeline() const noexcept { return m_pipeline; }
    // The longest sub-block the plug-in needs for this block (BeginBlock).
    void SetSubBlockLimit(int limit) noexcept { m_pipeline.SetSubBlockLimit(limit); }

    KTransportInfo& Transport() noexcept { return m_transport; }
    const KTransportInfo& Transport() const noexcept { return m_transport; }

    // Channel configuration.
    virtual int GetInputChannelCount() const;
    virtual int GetProcessedInputChannelCount() const;
    virtual int GetOutputChannelCount() const;
    virtual int GetProcessedOutputChannelCount() const;
    virtual int GetInputBusCount() const;
    virtual int GetOutputBusCount() const;
    void SetHostChannels(int inputs, int outputs) noexcept;
    int HostInputChannels() const noexcept { return m_hostInputs; }
    int HostOutputChannels() const noexcept { return m_hostOutputs; }
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
    // A parameter changed inside the plug-in: the host records the value
    // (normalised 0..1) as automation. Nothing happens without a host.
    void SendAutomation(int index, double value) noexcept;
    // A MIDI message the plug-in produced (four bytes, status byte first),
    // at a sample offset inside the current block.
    void GenerateMIDIEvent(int deltaFrames, const std::uint8_t* midiData) noexcept override;

    // The channel names the bridges show, fixed when the plug-in is set up.
    const KChannelLists& ChannelLists() const noexcept { return m_channelLists; }

    // Lock order everywhere: plug-in lock, second lock, third lock.
    KLock& PluginLock() noexcept { return m_pluginLock; }
    KLock& SecondLock() noexcept { return m_secondLock; }
    KLock& ThirdLock() noexcept { return m_thirdLock; }

protected:
    // The pipeline's part of processing initialisation, under the three
    // locks: configuration before the effect is initialised, latency after.
    void InitProcessingPipeline();
    void UpdatePipelineLatency();
    // Tells the host when the latency differs from what it was last told;
    // called without the locks.
    void ReportLatencyIfChanged();
    void SetProcessingTraits(const KProcessingTraits& traits) noexcept { m_pipeline.SetTraits(traits); }
    // Also sets the channels per bus the pipeline works with.
    void SetChannelLists(KChannelLists lists);
    void AddInterpolatedParameter(int index);
    // The next block takes parameter values over without interpolating.
    void RequestInterpolationReset() noexcept { m_interpolator.RequestReset(); }

    // Appends an adapter owning the next Count() host indices. Temporary
    // adapters exist only while an editor is open and come after all others.
    void AddAutomationAdapter(std::unique_ptr<AutomationAdapter> adapter, bool temporary = false);
    // Called once all permanent adapters are added.
    void CompleteParameterList();
    AutomationAdapter* FindAdapter(int index, int& localIndex) const noexcept;
    // Calls `call(adapter, localIndex)` on the adapter owning `index` inside
    // the guard named `guardName`; answers `fallback` when the plug-in has no
    // parameters or the call fails.
    template <class Result, class Call>
    Result WithAdapter(const char* guardName, int index, Result fallback, Call call) const {
        return KGuard::Run(guardName, fallback, [&]() -> Result {
            int local = 0;
            AutomationAdapter* adapter = FindAdapter(index, local);
            return adapter ? Result(call(*adapter, local)) : fallback;
        });
    }

    KLock m_pluginLock;
    KLock m_secondLock;
    KLock m_thirdLock;
    // Hosts may set these up while a block runs on another thread.
    KRelaxed<double> m_sampleRate = 44100.0;
    KRelaxed<int> m_maxBlockSize = 1024;
    // Set up under the plug-in's locks, read by blocks and host queries
    // without them.
    KRelaxed<int> m_hostInputs = 2;
    KRelaxed<int> m_hostOutputs = 2;
    KRelaxed<int> m_effectInputs = 2;
    KRelaxed<int> m_effectOutputs = 2;
    int m_channelsPerBus = 2;

private:
    std::vector<std::unique_ptr<AutomationAdapter>> m_adapters;
    std::unique_ptr<std::atomic<bool>[]> m_editorUpdates;
    int m_markedParameterCount = 0;  // indices the marks above cover
    KLock m_editorUpdateLock;        // guards the pending list
    std::vector<AutomationAdapter*> m_pendingEditorUpdates;
    std::atomic<KEditorUpdateTarget*> m_editorTarget{nullptr};
    std::unique_ptr<KAutomationUpdateThread> m_updateThread;
    std::atomic<DeferredWork> m_deferredWork{nullptr};
    int m_parameterCount = 0;
    // Counts changes of the adapter list; the lookup knows the count it was
    // built at. Look-ups come from the editor's and the host's threads.
    std::atomic<int> m_parameterListVersion{0};
    KLock m_lookupLock;
    std::optional<KParameterLookup> m_lookup;
    int m_lookupVersion = 0;
    KAudioPluginAdapter* m_hostAdapter = nullptr;
    KChannelLists m_channelLists;
    KPipelineSettings m_settings;
    KTransportInfo m_transport;
    KParameterInterpolator m_interpolator;
    KProcessingPipeline m_pipeline{*this};
    int m_reportedLatency = 0;

    template <class Change>
    void ChangeSetting(Change&& change);
    KParameterLookup BuildLookup();
};
