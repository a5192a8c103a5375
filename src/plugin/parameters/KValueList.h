#pragma once
#include <algorithm>
#include <cstdint>
#include <limits>

#include "plugin/parameters/KTextRules.h"
#include "plugin/parameters/KValue.h"

// An index into a list of texts, bound to a variable of type T (an integer or
// an enumeration). The text is the selected entry; a typed text selects the
// entry it names (case-insensitively). The position spreads the entries
// evenly over 0..1, as list parameters do. Stored as the index.
template <typename T = int>
class KValueList : public KValue {
public:
    // Bound to `variable`, which must outlive the object.
    KValueList(T* variable, KStringList entries) : m_value(variable), m_entries(std::move(entries)) { Initialise(); }
    // Holding its own variable, starting at `initial`.
    KValueList(KStringList entries, T initial) : m_own(initial), m_value(&m_own), m_entries(std::move(entries)) {
        Initialise();
    }
    KValueList(const KValueList&) = delete;
    KValueList& operator=(const KValueList&) = delete;

    T Value() const noexcept { return *m_value; }
    int Index() const noexcept { return int(*m_value); }
    // Validates; answers whether the selection changed.
    bool SetIndex(int index) { return Assign(index); }
    int DefaultIndex() const noexcept { return m_defaultIndex; }
    const KStringList& Entries() const noexcept { return m_entries; }
    int Count() const noexcept { return int(m_entries.size()); }

    KString Text() const override { return EntryText(Index()); }
    KString TextFromPosition(double position) const override { return EntryText(IndexAt(position)); }

    // A text that names no entry leaves the selection alone.
    bool Parse(const KString& text) override {
        const int index = Find(text);
        return index >= 0 && Assign(index);
    }

    void Validate() override {
        const int index = std::clamp(Index(), 0, std::max(Count() - 1, 0));
        if (index == Index()) return;
        *m_value = T(index);
        MarkChanged();
    }

    bool Step(int count) override { return Assign(Index() + count); }

    double Position() const override { return Count() > 1 ? double(Index()) / (Count() - 1) : 0.0; }
    bool SetFromPosition(double position) override { return Assign(IndexAt(position)); }

    void Store(KStorageContext& context) override {
        std::int64_t index = Index();
        context.Field(Key(), index, std::int64_t(m_defaultIndex));
        if (context.Storing()) return;
        *m_value = T(std::clamp<std::int64_t>(index, std::numeric_limits<int>::lowest(), std::numeric_limits<int>::max()));
        Validate();
    }

protected:
    KString EntryText(int index) const { return index >= 0 && index < Count() ? m_entries[index] : KString(); }

    // The index of the entry that equals `text`, or -1.
    int Find(const KString& text) const noexcept {
        for (int i = 0; i < Count(); ++i)
            if (m_entries[i].EqualsNoCase(text)) return i;
        return -1;
    }

    // Writes, validates, and answers whether the selection changed.
    bool Assign(int index) {
        const int before = Index();
        *m_value = T(index);
        Validate();
        return Index() != before;
    }

private:
    // Each entry owns an equal share of 0..1, so x = 0.5 of four entries
    // (1.5 after the shift) rounds up to index 2.
    int IndexAt(double position) const noexcept {
        const double index = KTextRules::RoundHalfUp(Count() * position - 0.5);
        return int(std::clamp(index, 0.0, std::max(Count() - 1, 0) * 1.0));
    }

    void Initialise() {
        Validate();
        ClearChanged();
        m_defaultIndex = Index();
    }

    T m_own{};
    T* m_value;
    KStringList m_entries;
    int m_defaultIndex = 0;
};

// An enumeration chosen from a list of texts, stored by its entry text rather
// than its number, so that stored settings survive a change of numbering. An
// unknown stored name gives the default.
template <typename E>
class KValueEnum : public KValueList<E> {
public:
    using KValueList<E>::KValueList;

    void Store(KStorageContext& context) override {
        KString text = this->EntryText(this->Index());
        context.Field(this->Key(), text, this->EntryText(this->DefaultIndex()));
        if (context.Storing()) return;
        const int index = this->Find(text);
        this->SetIndex(index >= 0 ? index : this->DefaultIndex());
    }
};
