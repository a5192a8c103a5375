#include "signal/generator/KSignalGeneratorBackgroundBuilder.h"

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

void KSignalGenerator::BuildTable(bool force) {
    KScopedLock building(m_buildLock);
    bool announce;
    {
        KScopedLock hold(m_lockPointer);
        announce = m_dirty.exchange(false, std::memory_order_acq_rel);
        if (!announce && !force) return;
        if (m_analyse) {
            m_analyse = false;
            RegenerateHarmonics();
        }
        m_builder.TakeRecipe(*this);
    }
    m_builder.Build(m_tables[std::size_t(m_building)]);
    KScopedLock hold(m_lockPointer);
    PublishTable(announce);
    // Without a background builder no audio thread swaps concurrently: the
    // table is in use at once, as before a block.
    if (!m_background) AdoptTable();
    if (!m_dirty.load(std::memory_order_acquire)) m_rebuildPending.store(false, std::memory_order_release);
}

// A finished table that was never adopted is replaced; its announcement
// carries over, so that the change still starts the owner's fades.
void KSignalGenerator::PublishTable(bool announce) noexcept {
    int offered = m_ready.load(std::memory_order_relaxed);
    int replacing;
    do {
        const bool carried = (offered & kFresh) && (offered & kAnnounced);
        replacing = m_building | kFresh | (announce || carried ? kAnnounced : 0);
    } while (!m_ready.compare_exchange_weak(offered, replacing, std::memory_order_acq_rel, std::memory_order_relaxed));
    m_building = offered & kIndexMask;
}

void KSignalGenerator::AdoptTable() noexcept {
    if (!(m_ready.load(std::memory_order_acquire) & kFresh)) return;
    const int offered = m_ready.exchange(m_inUse, std::memory_order_acq_rel);
    m_inUse = offered & kIndexMask;
    m_current = &m_tables[std::size_t(m_inUse)];
    if (offered & kAnnounced) m_tableChanged.store(true, std::memory_order_release);
}
