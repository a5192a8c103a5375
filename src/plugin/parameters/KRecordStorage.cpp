#include "plugin/parameters/KRecordStorage.h"

#include "foundation/xml/KXMLItem.h"

namespace KRecordStorage {
namespace {

KString AttributeName(const KParameterRecord& record) { return KString("parameter").Append(record.identifier); }

KString EnumAttributeName(const KParameterRecord& record) { return AttributeName(record).Append("Enum"); }

}  // namespace

void Store(const KParameterRecord& record, KXMLItem& xml) {
    if (record.identifier.IsEmpty()) return;
    const KString name = AttributeName(record);
    switch (record.type) {
        case KParameterType::Float: xml.SetDoubleAttribute(name, record.floating.value); break;
        case KParameterType::Integer: xml.SetIntegerAttribute(name, record.integer.value); break;
        case KParameterType::OnOff: xml.SetBoolAttribute(name, record.onOff.value != 0); break;
        case KParameterType::List:
            // The index is written too, so that older readers find the selection.
            xml.SetIntegerAttribute(name, record.list.selected);
            if (record.list.selected >= 0 && record.list.selected < record.list.count)
                xml.SetAttribute(EnumAttributeName(record), KString::FromBytes(record.list.entries[record.list.selected]));
            break;
        case KParameterType::Text: xml.SetAttribute(name, record.text); break;
        default: break;
    }
}

void Load(KParameterRecord& record, const KXMLItem& xml) {
    if (record.identifier.IsEmpty()) return;
    const KString name = AttributeName(record);
    switch (record.type) {
        case KParameterType::Float: record.SetFloatValue(xml.DoubleAttribute(name, record.floating.value)); break;
        case KParameterType::Integer: record.SetIntegerValue(xml.IntegerAttribute(name, record.integer.value)); break;
        case KParameterType::OnOff: record.SetOn(xml.BoolAttribute(name, record.onOff.value != 0)); break;
        case KParameterType::List: {
            record.SetListIndex(xml.IntegerAttribute(name, record.list.selected));
            const KString text = xml.Attribute(EnumAttributeName(record), KString());
            for (int i = 0; i < record.list.count && !text.IsEmpty(); ++i)
                if (KString::FromBytes(record.list.entries[i]).EqualsNoCase(text)) record.SetListIndex(i);
            break;
        }
        case KParameterType::Text: record.text = xml.Attribute(name, record.text); break;
        default: break;
    }
}

}  // namespace KRecordStorage
