#include "foundation/xml/KXMLItem.h"
#include "signal/generator/KSignalGenerator.h"

// Storing and loading work on a copy of the settings, outside the lock:
// writing hexadecimal blocks, building envelopes and reading the sample file
// take a while, and the audio thread shares the lock. The lock is held only
// to take the copy and to swap the loaded settings in.

void KSignalGenerator::Store(KXMLItem& item) {
    KString path;
    const KSignalGeneratorRecipe recipe = [&] {
        KScopedLock hold(m_lockPointer);
        path = m_sampleFilePath;
        return KSignalGeneratorRecipe(*this);
    }();
    recipe.Store(item, path);
}

// A file that cannot be read leaves no sample and says why; the path is kept
// so that storing again keeps it. The sample is analysed again only when its
// path or position changed.
void KSignalGenerator::Load(KXMLItem& item) {
    KString path;
    KSignalGeneratorRecipe loaded = [&] {
        KScopedLock hold(m_lockPointer);
        path = m_sampleFilePath;
        return KSignalGeneratorRecipe(*this);
    }();
    const KString previousPath = path;
    const double previousPosition = loaded.SamplePosition();
    loaded.Load(item, path);
    std::optional<PreparedSample> sample;
    if (path != previousPath) sample = PrepareSample(path, loaded.SamplePosition());
    else if (loaded.SamplePosition() != previousPosition) sample = PrepareSample(std::nullopt, loaded.SamplePosition());
    {
        KScopedLock hold(m_lockPointer);
        KSignalGeneratorRecipe::operator=(std::move(loaded));
        if (sample) {
            m_sampleFilePath = sample->path;
            m_sample = std::move(sample->sample);
            m_analysis = std::move(sample->analysis);
        }
        m_analyse = false;
        m_dirty.store(false, std::memory_order_release);
        m_rebuildPending.store(true, std::memory_order_release);
    }
    BuildTable(true);
    NotifyOwner();
}
