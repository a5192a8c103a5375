#include "foundation/xml/KStorageContext.h"
#include "signal/generator/KSignalGenerator.h"

// Storing and loading work on a copy of the settings, outside the lock:
// writing hexadecimal blocks, building envelopes and reading the sample file
// take a while, and the audio thread shares the lock. The lock is held only
// to take the copy and to swap the loaded settings in.

KSignalGenerator::StoredCopy KSignalGenerator::TakeStoredCopy() const {
    KScopedLock hold(m_lockPointer);
    return {KSignalGeneratorRecipe(*this), m_sampleFilePath};
}

// Loading: a file that cannot be read leaves no sample and says why; the
// path is kept so that storing again keeps it. The sample is analysed again
// only when its path or position changed. A state that fails to load
// (an envelope it cannot build) changes nothing.
void KSignalGenerator::Store(KStorageContext& context) {
    StoredCopy copy = TakeStoredCopy();
    if (context.Storing()) {
        copy.recipe.Store(context, copy.sampleFilePath);
        return;
    }
    const KString previousPath = copy.sampleFilePath;
    const double previousPosition = copy.recipe.SamplePosition();
    copy.recipe.Store(context, copy.sampleFilePath);
    std::optional<PreparedSample> sample;
    if (copy.sampleFilePath != previousPath) sample = PrepareSample(copy.sampleFilePath, copy.recipe.SamplePosition());
    else if (copy.recipe.SamplePosition() != previousPosition)
        sample = PrepareSample(std::nullopt, copy.recipe.SamplePosition());
    {
        KScopedLock hold(m_lockPointer);
        KSignalGeneratorRecipe::operator=(std::move(copy.recipe));
        if (sample) {
            m_sampleFilePath = sample->path;
            m_sample = std::move(sample->sample);
            m_analysis = std::move(sample->analysis);
        }
        // The harmonics just read are the ones to keep, not a regeneration.
        m_analyse = false;
        m_dirty.store(false, std::memory_order_release);
        m_rebuildPending.store(true, std::memory_order_release);
    }
    BuildTable(true);
    NotifyOwner();
}
