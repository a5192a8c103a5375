#include "foundation/xml/KXMLUtf8Text.h"

#include <algorithm>
#include <vector>

#include "foundation/xml/KXMLItem.h"

namespace KXMLUtf8Text {

namespace {

bool IsHigh(char16_t unit) noexcept { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLow(char16_t unit) noexcept { return unit >= 0xDC00 && unit <= 0xDFFF; }

bool IsDropped(char16_t unit) noexcept { return IsHigh(unit) || IsLow(unit) || unit == 0xFEFF; }

// Whether a name that lost units still reads back as an element's name: the
// reader takes "<?" for a processing instruction.
bool IsElementName(const KString& name) noexcept { return !name.IsEmpty() && name[0] != u'?'; }

// Whether the text holds no unit Carried may leave out (a proper pair takes
// the long way). Nearly every tree is whole, and is then only read: no
// attribute list is built anew.
bool IsWhole(const KString& text) noexcept {
    for (int i = 0; i < text.Length(); ++i)
        if (IsDropped(text[i])) return false;
    return true;
}

void CleanAttributes(KXMLItem& item) {
    const KAttributeList& attributes = item.Attributes();
    if (std::all_of(attributes.begin(), attributes.end(),
                    [](const KAttribute& a) { return IsWhole(a.name) && IsWhole(a.value); }))
        return;
    std::vector<KAttribute> kept;
    for (const KAttribute& attribute : attributes) {
        KAttribute carried{Carried(attribute.name), Carried(attribute.value)};
        if (!carried.name.IsEmpty()) kept.push_back(std::move(carried));
    }
    // Names that now match merge as the reader would merge them.
    item.SetAttributes(KAttributeList::FromUnsorted(std::move(kept)));
}

// The name and text of one item, and its attributes; sub-items whose names
// are left empty or would open a processing instruction are dropped.
void CleanItem(KXMLItem& item) {
    // A text that loses units is trimmed again, as the reader trims it.
    if (!IsWhole(item.Text())) item.SetText(Carried(item.Text()).Trimmed());
    CleanAttributes(item);
    for (int i = item.SubItemCount() - 1; i >= 0; --i) {
        KXMLItem& sub = item.SubItemAt(i);
        if (IsWhole(sub.Name())) continue;
        const KString name = Carried(sub.Name());
        if (!IsElementName(name)) item.RemoveSubItemAt(i);
        else sub.SetName(name);
    }
}

}  // namespace

KString Carried(const KString& text) {
    KString carried;
    int kept = 0;  // the first carried unit not yet appended
    const int length = text.Length();
    auto flush = [&](int end) {
        if (end > kept) carried.Append(text.Substring(kept, end - kept));
    };
    for (int i = 0; i < length; ++i) {
        const char16_t unit = text[i];
        if (IsHigh(unit) && i + 1 < length && IsLow(text[i + 1])) {
            ++i;  // a proper pair
            continue;
        }
        if (!IsDropped(unit)) continue;
        flush(i);
        kept = i + 1;
    }
    if (kept == 0) return text;
    flush(length);
    return carried;
}

// Walked level by level, as deep trees are taken apart.
bool Clean(KXMLItem& root) {
    if (!IsWhole(root.Name())) {
        const KString name = Carried(root.Name());
        if (!IsElementName(name)) return false;
        root.SetName(name);
    }
    std::vector<KXMLItem*> pending{&root};
    while (!pending.empty()) {
        KXMLItem& item = *pending.back();
        pending.pop_back();
        CleanItem(item);
        for (int i = 0; i < item.SubItemCount(); ++i) pending.push_back(&item.SubItemAt(i));
    }
    return true;
}

}  // namespace KXMLUtf8Text
