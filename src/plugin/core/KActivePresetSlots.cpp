#include "plugin/core/KActivePresetSlots.h"

#include "foundation/text/KFormatter.h"
#include "foundation/xml/KStorageContext.h"

namespace {

KString SlotItemName(int index) { return KFormatter("Preset{0}") << index; }

}  // namespace

KActivePresetSlots::KActivePresetSlots() {
    for (int i = 0; i < kCount; ++i) m_slots[std::size_t(i)] = std::make_unique<KXMLItem>(SlotItemName(i));
}

void KActivePresetSlots::FillFromFirst() {
    for (int i = 1; i < kCount; ++i) {
        KXMLItem::DeepCopy(Slot(i), Slot(0));
        Slot(i).SetName(SlotItemName(i));
    }
}

void KActivePresetSlots::SetCurrent(int index) noexcept {
    m_current = m_requested = (index >= 0 && index < kCount) ? index : 0;
}

void KActivePresetSlots::Store(KStorageContext& context) {
    int current = m_current;
    context.Field("PresetIndex", current);
    SetCurrent(current);
    for (int i = 0; i < kCount; ++i) {
        if (i == m_current) continue;
        const KString name = SlotItemName(i);
        context.OptionalSubItem(name, true, [&](KStorageContext& copy) {
            if (copy.Storing()) KXMLItem::DeepCopy(copy.Item(), Slot(i));
            else {
                KXMLItem::DeepCopy(Slot(i), copy.Item());
                copy.ReadWhole();
            }
            copy.Item().SetName(name);
            Slot(i).SetName(name);
        });
    }
}
