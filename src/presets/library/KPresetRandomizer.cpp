#include "presets/library/KPresetRandomizer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "foundation/core/Random.h"
#include "foundation/xml/KXMLDocument.h"
#include "foundation/xml/KXMLItem.h"
#include "presets/library/KPresetTree.h"

namespace KPresetRandomizer {

namespace {

int Coin() { return KRandom::Next() & 1; }
int Eighth() { return KRandom::Next() & 7; }
// The draw's bits from 16 upwards, modulo n.
int Index(int n) {
    KRandom::Next();
    return int((KRandom::State() >> 16) % std::uint32_t(n));
}

const KXMLItem* FindFolder(const KXMLItem& root, const char* name) {
    for (int i = 0; i < root.SubItemCount(); ++i) {
        const KXMLItem& item = root.SubItemAt(i);
        if (item.Name().EqualsNoCase(KPresetTree::kFolder) &&
            item.Attribute(KPresetTree::kFolderName, KString()).EqualsNoCase(KString::FromUTF8(name)))
            return &item;
    }
    return nullptr;
}

KXMLItem* TakeRandom(std::vector<KXMLItem*>& candidates) {
    const int index = Index(int(candidates.size()));
    KXMLItem* taken = candidates[std::size_t(index)];
    candidates.erase(candidates.begin() + index);
    return taken;
}

}  // namespace

void CrossInto(KXMLItem& base, KXMLItem& other) {
    if (Coin()) base.SetText(other.Text());
    for (int i = 0; i < base.SubItemCount(); ++i) {
        KXMLItem& mine = base.SubItemAt(i);
        KXMLItem* theirs = other.FindSubItem(mine.Name());
        if (!theirs) continue;
        const int choice = Eighth();
        if (choice == 1) KXMLItem::DeepCopy(mine, *theirs);
        else if (choice >= 2) CrossInto(mine, *theirs);
        other.RemoveSubItem(*theirs);
    }
    for (int i = 0; i < other.SubItemCount(); ++i)
        if (Coin()) KXMLItem::DeepCopy(base.AddSubItem(other.SubItemAt(i).Name()), other.SubItemAt(i));
    for (int i = 0; i < other.Attributes().Count(); ++i)
        if (Coin()) base.SetAttribute(other.Attributes()[i].name, other.Attributes()[i].value);
}

std::unique_ptr<KXMLDocument> Cross(const KXMLItem& presetsRoot) {
    const KXMLItem* single = FindFolder(presetsRoot, "Randomizer");
    const KXMLItem* multi = FindFolder(presetsRoot, "Randomizer Multi");
    const KXMLItem* source = &presetsRoot;
    bool multiMode = false;
    if (single && Coin() == 0) source = single;
    else if (multi) source = multi, multiMode = true;
    else if (single) source = single;

    std::vector<KXMLItem*> candidates = KPresetTree::FlatOrder(*source);
    const int count = int(candidates.size());
    if (count == 0) return nullptr;
    const int crossings = multiMode ? std::clamp(count / 2, 1, 8)
                                    : std::clamp(int(std::pow(double(count), 0.3333)), 1, 5);
    auto result = KPresetTree::Settings(*TakeRandom(candidates));
    for (int n = 0; n < crossings && !candidates.empty(); ++n) {
        auto other = KPresetTree::Settings(*TakeRandom(candidates));
        CrossInto(result->Root(), other->Root());
    }
    result->Root().GetOrCreateSubItem("ActivePreset").SetAttribute("Edit", "1");
    return result;
}

}  // namespace KPresetRandomizer
