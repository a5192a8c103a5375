#include "plugin/parameters/KRecordStorage.h"

#include "foundation/xml/KStorageContext.h"

namespace KRecordStorage {
namespace {

KString AttributeName(const KParameterRecord& record) { return KString("parameter").Append(record.identifier); }

KString EntryText(const KParameterRecord& record, int index) {
    if (index < 0 || index >= record.list.count) return KString();
    return KString::FromBytes(record.list.entries[index]);
}

// The index is written too, so that readers that know only the index find
// the selection; the text is what survives a reordered list.
void StoreList(KParameterRecord& record, const KString& name, KStorageContext& context) {
    std::int64_t index = record.list.selected;
    context.Field(name, index);
    KString text = context.Storing() ? EntryText(record, record.list.selected) : KString();
    context.Field(KString(name).Append("Enum"), text);
    if (context.Storing()) return;
    record.SetListIndex(index);
    for (int i = 0; i < record.list.count && !text.IsEmpty(); ++i)
        if (EntryText(record, i).EqualsNoCase(text)) record.SetListIndex(i);
}

}  // namespace

void Store(KParameterRecord& record, KStorageContext& context) {
    if (record.identifier.IsEmpty()) return;
    const KString name = AttributeName(record);
    switch (record.type) {
        case KParameterType::Float:
            context.Property(name, double(record.floating.value), [&](double v) { record.SetFloatValue(v); });
            break;
        case KParameterType::Integer:
            context.Property(name, std::int64_t(record.integer.value), [&](std::int64_t v) { record.SetIntegerValue(v); });
            break;
        case KParameterType::OnOff:
            context.Property(name, record.onOff.value != 0, [&](bool on) { record.SetOn(on); });
            break;
        case KParameterType::List: StoreList(record, name, context); break;
        case KParameterType::Text: context.Field(name, record.text); break;
        default: break;  // group headers and records without a value store nothing
    }
}

}  // namespace KRecordStorage
