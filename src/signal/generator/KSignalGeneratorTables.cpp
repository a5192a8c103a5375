#include "signal/generator/KSignalGeneratorBackgroundBuilder.h"

#include <chrono>
#include <thread>

// The hand-over of built tables. The builder (the background thread, or the
// caller of a synchronous build) writes the table nobody reads, then offers
// it in m_ready; the audio thread swaps it for the table in use at the start
// of a block. Neither waits for the other: the exchange is one atomic
// operation, and the lock is held only to copy the settings and to adopt.

KSignalGenerator::~KSignalGenerator() = default;

void KSignalGenerator::EditDone() {
    if (m_background) m_background->WakeUp();
    NotifyOwner();
}

void KSignalGenerator::BuildInBackground() {
    if (m_background) return;
    auto builder = std::make_unique<BackgroundBuilder>(*this);
    builder->Start();
    m_background = std::move(builder);
}

// A builder never waits for the generator's lock while it holds
// m_buildLock: it only tries, and steps back while a block or an edit holds
// it. So a thread that holds the lock (a host call under the processing
// lock) and starts a build itself waits at most for the build in progress.
KSignalGenerator::RecipeTaken KSignalGenerator::TryTakeRecipe(bool force) {
    try {
        KScopedLock hold(m_lockPointer.load(), 0);
        if (!m_dirty.exchange(false) && !force) return RecipeTaken::Nothing;
        if (m_analyse) {
            m_analyse = false;
            RegenerateHarmonics();
        }
        m_builder.TakeRecipe(*this);
        return RecipeTaken::Taken;
    } catch (const KException&) {  // only the lock raises it here
        return RecipeTaken::Busy;
    }
}

void KSignalGenerator::BuildTable(bool force) {
    constexpr auto kBusyRetry = std::chrono::milliseconds(1);
    for (;;) {
        {
            KScopedLock building(m_buildLock);
            const RecipeTaken taken = TryTakeRecipe(force);
            if (taken == RecipeTaken::Nothing) return;
            if (taken == RecipeTaken::Taken) {
                m_builder.Build(m_tables[std::size_t(m_building)]);
                PublishTable();
                break;
            }
        }
        std::this_thread::sleep_for(kBusyRetry);
    }
    // Edits store the dirty flag before the pending one, so an edit made
    // meanwhile leaves the pending flag set.
    m_rebuildPending.store(false);
    if (m_dirty.load()) m_rebuildPending.store(true);
    // Without a background builder no audio thread swaps concurrently: the
    // table is in use at once, as before a block.
    if (!m_background) {
        KScopedLock hold(m_lockPointer);
        AdoptTable();
    }
}

// A finished table that was never adopted is replaced by the newer one.
void KSignalGenerator::PublishTable() noexcept {
    const int offered = m_ready.exchange(m_building | kFresh, std::memory_order_acq_rel);
    m_building = offered & kIndexMask;
}

void KSignalGenerator::AdoptTable() noexcept {
    if (!(m_ready.load(std::memory_order_acquire) & kFresh)) return;
    const int offered = m_ready.exchange(m_inUse, std::memory_order_acq_rel);
    m_inUse = offered & kIndexMask;
    m_current = &m_tables[std::size_t(m_inUse)];
    m_tableChanged.store(true, std::memory_order_release);
}
