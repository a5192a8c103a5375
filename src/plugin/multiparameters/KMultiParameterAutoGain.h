#pragma once
#include <atomic>

#include "foundation/threading/KThread.h"

class KAudioPlugin;
class KMultiParameter;

// Evens out the loudness of a banks-mode multiparameter's banks: for each
// bank in turn it selects the bank, lets automatic gain compensation
// measure the running audio, corrects the plug-in's output gain by what was
// measured and keeps the targets' values (the output gain among them, when
// it is an entry) as that bank's values. It runs on its own thread and
// touches the plug-in only between blocks; it can be stopped at any time,
// and the plug-in's gain compensation setting is put back afterwards.
class KMultiParameterAutoGain final : public KThread {
public:
    static constexpr int kMeasuringSteps = 40;
    static constexpr int kStepMilliseconds = 100;
    static constexpr const char* kProgressText = "Computing optimal output gain using AGC";

    KMultiParameterAutoGain(KAudioPlugin& plugin, KMultiParameter& multiParameter,
                            int measuringSteps = kMeasuringSteps, int stepMilliseconds = kStepMilliseconds);
    ~KMultiParameterAutoGain() override;

    // 0..1: the share of the measuring done.
    double Progress() const noexcept { return m_progress.load(std::memory_order_acquire); }
    // Every bank was measured (false when stopped early).
    bool Completed() const noexcept { return m_completed.load(std::memory_order_acquire); }
    // The body has ended, completed or not.
    bool Finished() const noexcept { return m_finished.load(std::memory_order_acquire); }

protected:
    std::int32_t Thread() override;

private:
    bool MeasureBank(int bank, int bankCount);

    KAudioPlugin& m_plugin;
    KMultiParameter& m_multiParameter;
    const int m_measuringSteps;
    const int m_stepMilliseconds;
    std::atomic<double> m_progress{0};
    std::atomic<bool> m_completed{false};
    std::atomic<bool> m_finished{false};
};
