#include "plugin/core/KActivePresetSlots.h"

#include "foundation/text/KFormatter.h"
#include "foundation/xml/KStorageContext.h"
#include "foundation/xml/KXMLUtf8Text.h"

namespace {

KString SlotItemName(int index) { return KFormatter("Preset{0}") << index; }

// A slot writes back the item a state gave it. Read from a damaged block,
// that item may hold units a UTF-8 save cannot carry, so the next save would
// differ; the slot keeps the copy as it will be saved.
// The slot's own name is set by the caller, so Clean cannot refuse it.
void KeepAsSaved(KXMLItem& slot, const KXMLItem& loaded) {
    KXMLItem::DeepCopy(slot, loaded);
    KXMLUtf8Text::Clean(slot);
}

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
    if (!IsSlot(index)) index = 0;
    m_current.store(index);
    m_requested.store(index);
}

bool KActivePresetSlots::Request(int index) noexcept {
    if (!IsSlot(index)) return false;
    m_requested.store(index);
    return true;
}

void KActivePresetSlots::SwitchedTo(int index) noexcept { m_previous.store(m_current.exchange(index)); }

void KActivePresetSlots::Select(int index) noexcept {
    SwitchedTo(index);
    m_requested.store(index);
}

void KActivePresetSlots::Store(KStorageContext& context) {
    int current = Current();
    context.Field("PresetIndex", current);
    SetCurrent(current);
    for (int i = 0; i < kCount; ++i) {
        if (i == Current()) continue;
        const KString name = SlotItemName(i);
        context.OptionalSubItem(name, true, [&](KStorageContext& copy) {
            if (copy.Storing()) KXMLItem::DeepCopy(copy.Item(), Slot(i));
            else {
                KeepAsSaved(Slot(i), copy.Item());
                copy.ReadWhole();
            }
            copy.Item().SetName(name);
            Slot(i).SetName(name);
        });
    }
}
