#include "signal/generator/KSignalGenerator.h"

#include <algorithm>
#include <cmath>

#include "foundation/core/KException.h"

// Reading and analysing run outside the lock (they take a while and the
// audio thread shares the lock); only the results are swapped in under it.

void KSignalGenerator::SetSampleFilePath(const KString& path) {
    std::shared_ptr<const KAudioSample> sample;
    if (!path.IsEmpty()) {
        try {
            sample = std::make_shared<const KAudioSample>(KAudioSample::Read(path));
        } catch (const KException& failure) {
            {
                KScopedLock hold(m_lockPointer);
                m_analysis.message = failure.Message();
            }
            NotifyOwner();
            return;
        }
    }
    double position;
    {
        KScopedLock hold(m_lockPointer);
        position = m_samplePosition;
    }
    KSampleAnalysis analysis = KSampleAnalyser::Analyse(sample.get(), position);
    Edit(
        [&] {
            m_sampleFilePath = path;
            m_sample = std::move(sample);
            m_analysis = std::move(analysis);
        },
        HarmonicsEffect::Regenerate);
}

void KSignalGenerator::SetSamplePosition(double position) {
    position = std::isnan(position) ? 0.0 : std::clamp(position, 0.0, 1.0);
    std::shared_ptr<const KAudioSample> sample;
    {
        KScopedLock hold(m_lockPointer);
        sample = m_sample;
    }
    KSampleAnalysis analysis = KSampleAnalyser::Analyse(sample.get(), position);
    Edit(
        [&] {
            m_samplePosition = position;
            m_analysis = std::move(analysis);
        },
        HarmonicsEffect::Regenerate);
}

// For Load, which holds the lock already. A file that cannot be read leaves
// no sample and says why; the path is kept so that storing again keeps it.
void KSignalGenerator::ReadSampleFile(const KString& path) {
    m_sampleFilePath = path;
    m_sample.reset();
    if (!path.IsEmpty()) {
        try {
            m_sample = std::make_shared<const KAudioSample>(KAudioSample::Read(path));
        } catch (const KException& failure) {
            m_analysis = KSampleAnalysis();
            m_analysis.message = failure.Message();
            return;
        }
    }
    m_analysis = KSampleAnalyser::Analyse(m_sample.get(), m_samplePosition);
}
