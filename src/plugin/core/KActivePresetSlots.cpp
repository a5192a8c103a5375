#include "plugin/core/KActivePresetSlots.h"

#include <vector>

#include "foundation/core/KException.h"
#include "foundation/streams/KMemoryStream.h"
#include "foundation/text/KFormatter.h"
#include "foundation/xml/KStorageContext.h"
#include "foundation/xml/KXMLDocument.h"

namespace {

KString SlotItemName(int index) { return KFormatter("Preset{0}") << index; }

bool HasSurrogates(const KString& text) noexcept {
    for (int i = 0; i < text.Length(); ++i)
        if (text[i] >= 0xD800 && text[i] <= 0xDFFF) return true;
    return false;
}

// Whether the UTF-8 writer might leave out a unit of the tree: only
// surrogates can be left out (a proper pair is not, but the rare tree with
// a pair is not worth telling apart). Walked level by level, as deep trees
// are taken apart.
bool MayLoseUnitsWhenWritten(const KXMLItem& root) {
    std::vector<const KXMLItem*> pending{&root};
    while (!pending.empty()) {
        const KXMLItem& item = *pending.back();
        pending.pop_back();
        if (HasSurrogates(item.Name()) || HasSurrogates(item.Text())) return true;
        for (const KAttribute& attribute : item.Attributes())
            if (HasSurrogates(attribute.name) || HasSurrogates(attribute.value)) return true;
        for (int i = 0; i < item.SubItemCount(); ++i) pending.push_back(&item.SubItemAt(i));
    }
    return false;
}

// A slot writes back the item a state gave it. Read from a damaged block,
// that item may hold units the UTF-8 writer leaves out (unpaired
// surrogates), and a text may then end in white space the reader trims, so
// the next save would differ. Such a copy is kept as written and read back
// once; one that does not read back (a name made of such units alone)
// leaves the slot empty.
void KeepAsWritten(KXMLItem& slot, const KXMLItem& loaded) {
    if (!MayLoseUnitsWhenWritten(loaded)) {
        KXMLItem::DeepCopy(slot, loaded);
        return;
    }
    KXMLDocument written;
    KXMLItem::DeepCopy(written.Root(), loaded);
    KMemoryStream bytes;
    written.Write(bytes, true);
    bytes.Seek(0, KStream::SeekOrigin::Start);
    KXMLDocument reread;
    try {
        reread.Parse(bytes);
    } catch (const KException&) {
        slot.Clear();
        return;
    }
    if (reread.ParsedCompletely()) KXMLItem::DeepCopy(slot, reread.Root());
    else slot.Clear();
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
                KeepAsWritten(Slot(i), copy.Item());
                copy.ReadWhole();
            }
            copy.Item().SetName(name);
            Slot(i).SetName(name);
        });
    }
}
