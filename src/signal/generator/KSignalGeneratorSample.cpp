#include "signal/generator/KSignalGenerator.h"

#include <algorithm>
#include <cmath>

#include "foundation/core/KException.h"

// Reading and analysing run outside the lock (they take a while and the
// audio thread shares the lock); only the results are swapped in under it.

// A missing path or position stands for the current one, copied under the
// lock; a given path is read anew.
KSignalGenerator::PreparedSample KSignalGenerator::PrepareSample(std::optional<KString> path,
                                                                 std::optional<double> position) const {
    PreparedSample prepared;
    {
        KScopedLock hold(m_lockPointer);
        prepared.path = path ? *path : m_sampleFilePath;
        if (!path) prepared.sample = m_sample;
        if (!position) position = m_samplePosition;
    }
    if (path && !path->IsEmpty()) {
        try {
            prepared.sample = std::make_shared<const KAudioSample>(KAudioSample::Read(*path));
        } catch (const KException& failure) {
            prepared.unreadable = true;
            prepared.analysis.message = failure.Message();
            return prepared;
        }
    }
    prepared.analysis = KSampleAnalyser::Analyse(prepared.sample.get(), *position);
    return prepared;
}

void KSignalGenerator::SetSampleFilePath(const KString& path) {
    PreparedSample prepared = PrepareSample(path, std::nullopt);
    if (prepared.unreadable) {
        {
            KScopedLock hold(m_lockPointer);
            m_analysis.message = prepared.analysis.message;
        }
        NotifyOwner();
        return;
    }
    Edit(
        [&] {
            m_sampleFilePath = path;
            m_sample = std::move(prepared.sample);
            m_analysis = std::move(prepared.analysis);
        },
        HarmonicsEffect::Regenerate);
}

void KSignalGenerator::SetSamplePosition(double position) {
    position = std::isnan(position) ? 0.0 : std::clamp(position, 0.0, 1.0);
    PreparedSample prepared = PrepareSample(std::nullopt, position);
    Edit(
        [&] {
            m_samplePosition = position;
            m_analysis = std::move(prepared.analysis);
        },
        HarmonicsEffect::Regenerate);
}
