#pragma once
#include <cmath>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "foundation/text/KString.h"
#include "foundation/xml/KStorageReadLog.h"
#include "foundation/xml/KXMLItem.h"
#include "foundation/xml/KXMLUtf8Text.h"

// The one argument of every storing operation: the item to write into or
// read from, and the direction. An object persists itself with a single
// operation that names each field once, so storing and loading cannot
// drift apart:
//
//     void KController::Store(KStorageContext& context) {
//         context.Field("Enabled", m_enabled, false);       // removed when 0, 0 when missing
//         context.Field("ParameterName", m_parameterName);  // always written
//         context.Field("Range", m_range, 1.0);
//         context.Property("Value", Value(), [&](double v) { SetValue(v); }, 0.0);  // loads through the setter
//     }
//
// Field rules: numbers are decimal text, doubles 12 significant digits,
// on/off 0 or 1. A field with a default is removed when the value equals
// it (doubles: closer than 1e-50) and set to it when missing. A field
// without one is always written, and a missing attribute leaves the value
// as it is unless a load default is given.
//
// A loading context may carry a read log, which learns every attribute the
// load looked at, so that a caller can tell which ones nobody knew.
class KStorageContext {
public:
    // The rule of a field that is always written but loads a value of its
    // own when missing: Field(name, value, LoadDefault{1}).
    template <class T>
    struct LoadDefault {
        T value;
    };
    template <class T>
    LoadDefault(T) -> LoadDefault<T>;

    KStorageContext(KXMLItem& item, bool storing, KStorageReadLog* log = nullptr) noexcept
        : m_item(&item), m_storing(storing), m_log(storing ? nullptr : log) {}

    KXMLItem& Item() const noexcept { return *m_item; }
    bool Storing() const noexcept { return m_storing; }
    bool Loading() const noexcept { return !m_storing; }

    // The context of a sub-item, created when missing (in both directions).
    KStorageContext SubItem(const KString& name) const { return {m_item->GetOrCreateSubItem(name), m_storing, m_log}; }

    // A sub-item that is there only sometimes. Storing: created when
    // `written`, removed otherwise. Loading: whether the document has it.
    // `body` runs on the sub-item's context when there is one.
    template <class Body>
    bool OptionalSubItem(const KString& name, bool written, Body&& body) const {
        if (m_storing && !written) {
            m_item->RemoveSubItem(name);
            return false;
        }
        KXMLItem* sub = m_storing ? &m_item->GetOrCreateSubItem(name) : m_item->FindSubItem(name);
        if (!sub) return false;
        KStorageContext context(*sub, m_storing, m_log);
        body(context);
        return true;
    }

    // Repeated sub-items of one name, one per element, in order. Storing
    // replaces those the item held; loading replaces the elements with one
    // default-made element per sub-item, in document order.
    template <class T, class Body>
    void Repeated(const KString& name, std::vector<T>& elements, Body&& body) const {
        if (m_storing) {
            while (m_item->FindSubItem(name)) m_item->RemoveSubItem(name);
            for (T& element : elements) {
                KStorageContext context(m_item->AddSubItem(name), true);
                body(context, element);
            }
            return;
        }
        elements.clear();
        KXMLItem::Iterator stored(*m_item, name);
        while (KXMLItem* sub = stored.Next()) {
            KStorageContext context(*sub, false, m_log);
            body(context, elements.emplace_back());
        }
    }

    // Loading took the whole item over as it is (a copy of stored settings).
    void ReadWhole() const {
        if (m_log) m_log->NoteWholeItem(*m_item);
    }

    // Fields with a default.
    void Field(const KString& name, bool& value, bool defaultValue) {
        if (m_storing) m_item->SetBoolAttribute(name, value, defaultValue);
        else value = Read(name).BoolAttribute(name, defaultValue);
    }
    void Field(const KString& name, int& value, int defaultValue) {
        if (m_storing) m_item->SetIntegerAttribute(name, value, defaultValue);
        else value = int(Read(name).IntegerAttribute(name, defaultValue));
    }
    void Field(const KString& name, std::int64_t& value, std::int64_t defaultValue) {
        if (m_storing) m_item->SetIntegerAttribute(name, value, defaultValue);
        else value = Read(name).IntegerAttribute(name, defaultValue);
    }
    void Field(const KString& name, double& value, double defaultValue) {
        if (!m_storing) value = Read(name).DoubleAttribute(name, defaultValue);
        else if (std::fabs(value - defaultValue) < 1e-50) m_item->RemoveAttribute(name);
        else m_item->SetDoubleAttribute(name, value);
    }
    // A text loaded from a damaged or foreign block keeps only the units a
    // UTF-8 save can carry, so that saving it never breaks the saved block.
    void Field(const KString& name, KString& value, const KString& defaultValue) {
        if (m_storing) m_item->SetAttribute(name, value, defaultValue);
        else value = KXMLUtf8Text::Carried(Read(name).Attribute(name, defaultValue));
    }

    // Fields without a default: always written; a missing attribute leaves
    // the value unchanged.
    void Field(const KString& name, bool& value) {
        if (m_storing) m_item->SetBoolAttribute(name, value);
        else if (Present(name)) value = m_item->BoolAttribute(name, value);
    }
    void Field(const KString& name, int& value) {
        if (m_storing) m_item->SetIntegerAttribute(name, value);
        else if (Present(name)) value = int(m_item->IntegerAttribute(name, value));
    }
    void Field(const KString& name, std::int64_t& value) {
        if (m_storing) m_item->SetIntegerAttribute(name, value);
        else if (Present(name)) value = m_item->IntegerAttribute(name, value);
    }
    void Field(const KString& name, double& value) {
        if (m_storing) m_item->SetDoubleAttribute(name, value);
        else if (Present(name)) value = m_item->DoubleAttribute(name, value);
    }
    void Field(const KString& name, KString& value) {
        if (m_storing) m_item->SetAttribute(name, value);
        else if (Present(name)) value = KXMLUtf8Text::Carried(m_item->CachedAttribute());
    }

    // Always written; a missing attribute loads the load default.
    template <class T>
    void Field(const KString& name, T& value, LoadDefault<T> loadDefault) {
        if (!m_storing && !Present(name)) {
            value = loadDefault.value;
            return;
        }
        Field(name, value);
    }

    // A value owned by an object that checks what it is given: the field
    // works on a copy of `current`, and loading hands the result to `apply`
    // (the object's setter, which clamps it), also when the attribute was
    // missing and the copy is unchanged. `rule` is the default or load
    // default, as for Field.
    template <class T, class Apply, class... Rule>
    void Property(const KString& name, T current, Apply&& apply, Rule... rule) {
        Field(name, current, rule...);
        if (!m_storing) apply(current);
    }

    // Read-only attributes of older documents: `read` gets the text when
    // loading finds the attribute; storing removes it.
    template <class Read>
    void Legacy(const KString& name, Read&& read) {
        if (m_storing) m_item->RemoveAttribute(name);
        else if (Present(name)) read(KString(m_item->CachedAttribute()));
    }

    // An enumeration stored by the name of its entry, read back by
    // case-insensitive comparison; an unknown name loads `loadDefault`,
    // a missing attribute leaves the index unchanged.
    void EnumerationByName(const KString& name, int& index, std::span<const KString> names, int loadDefault) {
        if (m_storing) {
            if (index >= 0 && std::size_t(index) < names.size()) m_item->SetAttribute(name, names[std::size_t(index)]);
            return;
        }
        if (!Present(name)) return;
        const KString& text = m_item->CachedAttribute();
        index = loadDefault;
        for (std::size_t i = 0; i < names.size(); ++i)
            if (text.EqualsNoCase(names[i])) index = int(i);
    }

private:
    // The item, after telling the log that `name` is read from it.
    KXMLItem& Read(const KString& name) const {
        if (m_log) m_log->NoteAttribute(*m_item, name);
        return *m_item;
    }
    // Whether the item has the attribute; remembers it for CachedAttribute.
    bool Present(const KString& name) const { return Read(name).HasAttribute(name); }

    KXMLItem* m_item;
    bool m_storing;
    KStorageReadLog* m_log;
};
