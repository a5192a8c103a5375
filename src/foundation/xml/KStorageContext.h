#pragma once
#include <cmath>
#include <cstdint>
#include <span>

#include "foundation/text/KString.h"
#include "foundation/xml/KXMLItem.h"

// The one argument of every storing operation: the item to write into or
// read from, and the direction. An object persists itself with a single
// operation that names each field once, so storing and loading cannot
// drift apart:
//
//     void KController::Store(KStorageContext& context) {
//         context.Field("Enabled", m_enabled, false);       // removed when 0, 0 when missing
//         context.Field("ParameterName", m_parameterName);  // always written
//         context.Field("Range", m_range, 1.0);
//     }
//
// Field rules: numbers are decimal text, doubles 12 significant digits,
// on/off 0 or 1. A field with a default is removed when the value equals
// it (doubles: closer than 1e-50) and set to it when missing. A field
// without one is always written, and a missing attribute leaves the value
// as it is unless a load default is given.
class KStorageContext {
public:
    KStorageContext(KXMLItem& item, bool storing) noexcept : m_item(&item), m_storing(storing) {}

    KXMLItem& Item() const noexcept { return *m_item; }
    bool Storing() const noexcept { return m_storing; }
    bool Loading() const noexcept { return !m_storing; }

    // The context of a sub-item, created when missing (in both directions).
    KStorageContext SubItem(const KString& name) const { return {m_item->GetOrCreateSubItem(name), m_storing}; }

    // Fields with a default.
    void Field(const KString& name, bool& value, bool defaultValue) {
        if (m_storing) m_item->SetBoolAttribute(name, value, defaultValue);
        else value = m_item->BoolAttribute(name, defaultValue);
    }
    void Field(const KString& name, int& value, int defaultValue) {
        if (m_storing) m_item->SetIntegerAttribute(name, value, defaultValue);
        else value = int(m_item->IntegerAttribute(name, defaultValue));
    }
    void Field(const KString& name, double& value, double defaultValue) {
        if (!m_storing) value = m_item->DoubleAttribute(name, defaultValue);
        else if (std::fabs(value - defaultValue) < 1e-50) m_item->RemoveAttribute(name);
        else m_item->SetDoubleAttribute(name, value);
    }
    void Field(const KString& name, KString& value, const KString& defaultValue) {
        if (m_storing) m_item->SetAttribute(name, value, defaultValue);
        else value = m_item->Attribute(name, defaultValue);
    }

    // Fields without a default: always written; a missing attribute leaves
    // the value unchanged.
    void Field(const KString& name, bool& value) {
        if (m_storing) m_item->SetBoolAttribute(name, value);
        else if (m_item->HasAttribute(name)) value = m_item->BoolAttribute(name, value);
    }
    void Field(const KString& name, int& value) {
        if (m_storing) m_item->SetIntegerAttribute(name, value);
        else if (m_item->HasAttribute(name)) value = int(m_item->IntegerAttribute(name, value));
    }
    void Field(const KString& name, double& value) {
        if (m_storing) m_item->SetDoubleAttribute(name, value);
        else if (m_item->HasAttribute(name)) value = m_item->DoubleAttribute(name, value);
    }
    void Field(const KString& name, KString& value) {
        if (m_storing) m_item->SetAttribute(name, value);
        else if (m_item->HasAttribute(name)) value = m_item->CachedAttribute();
    }

    // Always written; a missing attribute loads `loadDefault`.
    template <class T>
    void FieldWithLoadDefault(const KString& name, T& value, T loadDefault) {
        if (!m_storing && !m_item->HasAttribute(name)) {
            value = loadDefault;
            return;
        }
        Field(name, value);
    }

    // An enumeration stored by the name of its entry, read back by
    // case-insensitive comparison; an unknown name loads `loadDefault`,
    // a missing attribute leaves the index unchanged.
    void EnumerationByName(const KString& name, int& index, std::span<const KString> names, int loadDefault) {
        if (m_storing) {
            if (index >= 0 && std::size_t(index) < names.size()) m_item->SetAttribute(name, names[std::size_t(index)]);
            return;
        }
        if (!m_item->HasAttribute(name)) return;
        const KString& text = m_item->CachedAttribute();
        index = loadDefault;
        for (std::size_t i = 0; i < names.size(); ++i)
            if (text.EqualsNoCase(names[i])) index = int(i);
    }

private:
    KXMLItem* m_item;
    bool m_storing;
};
