#pragma once
#include <array>
#include <atomic>
#include <memory>

#include "foundation/threading/KLock.h"
#include "foundation/xml/KXMLItem.h"

class KStorageContext;

// The eight active-preset slots (A to H): each holds a complete copy of the
// plug-in's stored settings. One slot is in use; a switch is pending while
// the requested slot differs from it. The indices may be read and a switch
// requested from any thread; the slot items are read and changed only
// under Lock().
class KActivePresetSlots {
public:
    static constexpr int kCount = 8;

    KActivePresetSlots();

    KXMLItem& Slot(int index) noexcept { return *m_slots[std::size_t(index)]; }
    const KXMLItem& Slot(int index) const noexcept { return *m_slots[std::size_t(index)]; }
    // Copies slot 0 into every other slot.
    void FillFromFirst();

    int Current() const noexcept { return m_current.load(); }
    int Requested() const noexcept { return m_requested.load(); }
    // The slot used before the current one (the A/B toggle's target), -1
    // for none.
    int Previous() const noexcept { return m_previous.load(); }
    // Selects a slot without a pending switch; outside 0..7 is taken as 0.
    void SetCurrent(int index) noexcept;
    // Notes a switch to `index`; false (and nothing noted) outside 0..7.
    bool Request(int index) noexcept;
    // A switch to `index` was made: the slot in use becomes the previous
    // one. A request that arrived meanwhile stays pending.
    void SwitchedTo(int index) noexcept;
    // Makes `index` the slot in use, as a switch would, but settles every
    // pending request with it.
    void Select(int index) noexcept;

    // "PresetIndex" and a "Preset<n>" copy of every slot but the one in use;
    // a copy missing from the document leaves its slot as it was.
    void Store(KStorageContext& context);

    // Held while the slot items are read or changed. Taken before the
    // plug-in's own locks.
    KLock& Lock() const noexcept { return m_lock; }

private:
    static bool IsSlot(int index) noexcept { return index >= 0 && index < kCount; }

    std::array<std::unique_ptr<KXMLItem>, kCount> m_slots;
    std::atomic<int> m_current{0};
    std::atomic<int> m_requested{0};
    std::atomic<int> m_previous{-1};
    mutable KLock m_lock;
};
