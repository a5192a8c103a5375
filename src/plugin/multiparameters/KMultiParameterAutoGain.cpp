#include "plugin/multiparameters/KMultiParameterAutoGain.h"

#include "foundation/core/Guard.h"
#include "plugin/core/KAudioPlugin.h"
#include "plugin/multiparameters/KMultiParameter.h"

KMultiParameterAutoGain::KMultiParameterAutoGain(KAudioPlugin& plugin, KMultiParameter& multiParameter,
                                                 int measuringSteps, int stepMilliseconds)
    : m_plugin(plugin),
      m_multiParameter(multiParameter),
      m_measuringSteps(measuringSteps),
      m_stepMilliseconds(stepMilliseconds) {}

KMultiParameterAutoGain::~KMultiParameterAutoGain() { Stop(); }

std::int32_t KMultiParameterAutoGain::Thread() {
    KGuard::Run("KMultiParameterAutoGain::Thread", [&] {
        const bool wasMeasuring = m_plugin.PipelineSettings().automaticGainControl;
        m_plugin.SetAutomaticGainControl(true);
        const int banks = m_multiParameter.BankCount();
        bool completed = true;
        for (int bank = 0; bank < banks && completed; ++bank) completed = MeasureBank(bank, banks);
        m_plugin.SetAutomaticGainControl(wasMeasuring);
        m_completed.store(completed, std::memory_order_release);
    });
    m_finished.store(true, std::memory_order_release);
    return 0;
}

// The plug-in is touched under its third lock, which every block holds
// while it runs, so the measurement and the corrected gain never meet a
// block half-way.
bool KMultiParameterAutoGain::MeasureBank(int bank, int bankCount) {
    {
        KScopedLock block(m_plugin.ThirdLock());
        m_multiParameter.SetSliderValue(double(bank) / double(bankCount - 1));
    }
    for (int step = 0; step < m_measuringSteps; ++step) {
        if (StopRequested()) return false;
        WaitForWakeUp(std::uint32_t(m_stepMilliseconds));
        m_progress.store(double(bank * m_measuringSteps + step + 1) / double(bankCount * m_measuringSteps),
                         std::memory_order_release);
    }
    if (StopRequested()) return false;
    KScopedLock block(m_plugin.ThirdLock());
    m_plugin.ApplyOutputGainCorrection(m_plugin.Pipeline().GainControl().MeasuredRatio());
    m_multiParameter.CaptureBank(bank);
    return true;
}
