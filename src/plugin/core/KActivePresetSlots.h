#pragma once
#include <array>
#include <memory>

#include "foundation/xml/KXMLItem.h"

class KStorageContext;

// The eight active-preset slots (A to H): each holds a complete copy of the
// plug-in's stored settings. One slot is in use; a switch is pending while
// the requested slot differs from it.
class KActivePresetSlots {
public:
    static constexpr int kCount = 8;

    KActivePresetSlots();

    KXMLItem& Slot(int index) noexcept { return *m_slots[std::size_t(index)]; }
    const KXMLItem& Slot(int index) const noexcept { return *m_slots[std::size_t(index)]; }
    // Copies slot 0 into every other slot.
    void FillFromFirst();

    int Current() const noexcept { return m_current; }
    int Requested() const noexcept { return m_requested; }
    int Previous() const noexcept { return m_previous; }
    // Selects a slot without a pending switch; outside 0..7 is taken as 0.
    void SetCurrent(int index) noexcept;

    // "PresetIndex" and a "Preset<n>" copy of every slot but the one in use;
    // a copy missing from the document leaves its slot as it was.
    void Store(KStorageContext& context);

private:
    std::array<std::unique_ptr<KXMLItem>, kCount> m_slots;
    int m_current = 0;
    int m_requested = 0;
    int m_previous = -1;
};
