#include "plugin/parameters/KParameterMapping.h"

#include <algorithm>
#include <cmath>

#include "foundation/text/KFormatter.h"
#include "foundation/text/NumberText.h"
#include "foundation/core/Random.h"
#include "plugin/parameters/KTextRules.h"

namespace KParameterMapping {
namespace {

using KTextRules::RoundHalfUp;

double Scaled(KScaleMode mode, double x) noexcept {
    switch (mode) {
        case KScaleMode::Squared: return x * x;
        case KScaleMode::FourthPower: return x * x * x * x;
        default: return x;
    }
}

double Unscaled(KScaleMode mode, double t) noexcept {
    switch (mode) {
        case KScaleMode::Squared: return std::sqrt(t);
        case KScaleMode::FourthPower: return std::pow(t, 0.25);
        default: return t;
    }
}

double Fraction(double value, double minimum, double maximum) noexcept {
    return maximum == minimum ? 0.0 : (value - minimum) / (maximum - minimum);
}

double IndexFraction(int index, int count) noexcept { return count > 1 ? double(index) / (count - 1) : 0.0; }

KString OnOffText(bool on) { return on ? KString("On") : KString("Off"); }

KString NumberText(const KParameterRecord& record, double value, bool integer) {
    if (!record.format.IsEmpty()) {
        KFormatter formatter(record.format);
        if (integer) formatter << std::int64_t(value);
        else formatter << value;
        return formatter;
    }
    if (integer) return KFormatter("{0}") << std::int64_t(value);
    return KFormatter("{0;.6}") << value;
}

// The text a display function gives for a copy of the record holding `value`.
KString DisplayText(const KParameterRecord& record, double value) {
    KParameterRecord copy = record;
    copy.floating.value = value;  // shown as it is, even outside the range
    return record.display(copy, KString());
}

double Clamp01(double x) noexcept { return std::clamp(x, 0.0, 1.0); }

// A base-10 integer with an optional "-"; false when no digit follows.
bool ReadInteger(const KString& text, std::int64_t& n) {
    int consumed = 0;
    n = KNumberText::ParseInteger(text, 10, &consumed);
    const int sign = text.Length() > 0 && text[0] == u'-' ? 1 : 0;
    return consumed > sign;
}

}  // namespace

double FloatFromPosition(const KParameterRecord& record, double x) noexcept {
    const auto& f = record.floating;
    return f.minimum + (f.maximum - f.minimum) * Scaled(f.scale, x);
}

double FloatPosition(const KParameterRecord& record, double value) noexcept {
    const auto& f = record.floating;
    return Unscaled(f.scale, std::max(0.0, Fraction(value, f.minimum, f.maximum)));
}

std::int32_t IntegerFromPosition(const KParameterRecord& record, double x) noexcept {
    const auto& i = record.integer;
    return std::int32_t(RoundHalfUp(i.minimum + double(i.maximum - i.minimum) * x));
}

std::int32_t ListIndexFromPosition(const KParameterRecord& record, double x) noexcept {
    const int count = record.list.count;
    return std::int32_t(std::clamp(RoundHalfUp(count * x - 0.5), 0.0, double(std::max(count - 1, 0))));
}

void SetFromPosition(KParameterRecord& record, double x) noexcept {
    // Hosts send what they like: a position outside 0..1 counts as the end
    // it passed, and a NaN is no position at all.
    if (std::isnan(x)) return;
    x = Clamp01(x);
    const bool redirected = record.HasFlag(KParameterFlag::Redirect);
    switch (record.type) {
        case KParameterType::Float:
            if (redirected) record.SetFloatAlternate(FloatFromPosition(record, x));
            else record.SetFloatValue(FloatFromPosition(record, x));
            break;
        case KParameterType::Integer:
            if (redirected) record.SetIntegerAlternate(IntegerFromPosition(record, x));
            else record.SetIntegerValue(IntegerFromPosition(record, x));
            break;
        case KParameterType::List: record.SetListIndex(ListIndexFromPosition(record, x)); break;
        case KParameterType::OnOff: record.SetOn(x >= 0.5); break;
        case KParameterType::GroupHeader:
            if (record.group.enabled) *record.group.enabled = x >= 0.5 ? 1 : 0;
            break;
        default: break;
    }
}

double Position(const KParameterRecord& record) noexcept {
    switch (record.type) {
        case KParameterType::Float: return FloatPosition(record, record.floating.value);
        case KParameterType::Integer:
            return Fraction(record.integer.value, record.integer.minimum, record.integer.maximum);
        case KParameterType::List: return IndexFraction(record.list.selected, record.list.count);
        case KParameterType::OnOff:
        case KParameterType::GroupHeader: return record.IsOn() ? 1.0 : 0.0;
        default: return 0.0;
    }
}

double DefaultPosition(const KParameterRecord& record) noexcept {
    switch (record.type) {
        // Linear, also for squared and fourth-power records: a host reset
        // then lands on the position of the default's share of the range.
        case KParameterType::Float:
            return Fraction(record.floating.defaultValue, record.floating.minimum, record.floating.maximum);
        case KParameterType::Integer:
            return Fraction(record.integer.defaultValue, record.integer.minimum, record.integer.maximum);
        case KParameterType::List: return IndexFraction(record.list.defaultIndex, record.list.count);
        default: return 0.5;
    }
}

KString ValueText(const KParameterRecord& record) {
    switch (record.type) {
        case KParameterType::Float:
            if (record.display) return DisplayText(record, record.floating.value);
            return NumberText(record, record.floating.value, false);
        case KParameterType::Integer: return NumberText(record, record.integer.value, true);
        case KParameterType::List:
            if (record.list.selected < 0 || record.list.selected >= record.list.count) return KString();
            return KString::FromBytes(record.list.entries[record.list.selected]);
        case KParameterType::OnOff:
        case KParameterType::GroupHeader: return OnOffText(record.IsOn());
        case KParameterType::Text: return record.text;
        default: return KString();
    }
}

KString ValueTextFrom01(const KParameterRecord& record, double x) {
    switch (record.type) {
        case KParameterType::Float: {
            const double value = FloatFromPosition(record, x);
            return record.display ? DisplayText(record, value) : NumberText(record, value, false);
        }
        case KParameterType::Integer: return NumberText(record, IntegerFromPosition(record, x), true);
        case KParameterType::List: {
            if (record.list.count <= 0) return KString();
            return KString::FromBytes(record.list.entries[ListIndexFromPosition(record, x)]);
        }
        case KParameterType::OnOff: return OnOffText(x != 0);
        case KParameterType::GroupHeader: return OnOffText(x >= 0.5);
        default: return KString();
    }
}

KString DefaultValueText(const KParameterRecord& record) {
    switch (record.type) {
        case KParameterType::OnOff: return OnOffText(record.onOff.defaultValue != 0);
        case KParameterType::GroupHeader: return KString();  // a header has no default of its own
        default: return ValueTextFrom01(record, DefaultPosition(record));
    }
}

double ParsePosition(const KParameterRecord& record, const KString& text) {
    switch (record.type) {
        case KParameterType::Float: {
            // The display function leaves the copy's value as it is when it
            // cannot read the text.
            KParameterRecord copy = record;
            if (record.display) record.display(copy, text);
            else if (double number; KNumberText::TryParseDouble(text, number)) copy.SetFloatValue(number);
            return Clamp01(FloatPosition(record, copy.floating.value));
        }
        case KParameterType::Integer: {
            std::int64_t n;
            if (!ReadInteger(text, n)) return Position(record);
            return Clamp01(Fraction(double(n), record.integer.minimum, record.integer.maximum));
        }
        case KParameterType::List:
            for (int i = 0; i < record.list.count; ++i)
                if (KString::FromBytes(record.list.entries[i]).EqualsNoCase(text))
                    return IndexFraction(i, record.list.count);
            return 0.0;
        case KParameterType::OnOff:
        case KParameterType::GroupHeader: return KNumberText::ParseDouble(text) >= 0.5 ? 1.0 : 0.0;
        default: return 0.0;
    }
}

void Randomize(KParameterRecord& record, double amount) noexcept {
    if (!record.HasFlag(KParameterFlag::Randomizable)) return;
    const bool full = std::fabs(amount - 1) < 1e-50;
    switch (record.type) {
        case KParameterType::Float: {
            const double r = KRandom::NextUnit();
            const double x = full ? r : Clamp01(FloatPosition(record, record.floating.value) + (2 * r * amount - amount));
            double value = FloatFromPosition(record, x);
            if (record.flags2 & KParameterFlag2::RoundAfterRandomize) value = RoundHalfUp(value);
            record.SetFloatValue(value);
            record.SetFloatRunning(record.floating.value);
            break;
        }
        case KParameterType::Integer: {
            const auto& i = record.integer;
            const double r = KRandom::NextUnit();
            const double range = double(i.maximum) - i.minimum;
            if (full) {
                record.SetIntegerValue(std::int64_t(RoundHalfUp(i.minimum + r * range)));
            } else {
                const double d = range * amount;
                record.SetIntegerValue(i.value + std::int64_t(RoundHalfUp(2 * r * d - d)));
            }
            break;
        }
        case KParameterType::List: {
            const auto& l = record.list;
            const double r = KRandom::NextUnit();
            if (full) record.SetListIndex(std::int64_t(r * l.count));
            else record.SetListIndex(l.selected + std::int64_t(RoundHalfUp(2 * r * l.count * amount - l.count * amount)));
            break;
        }
        case KParameterType::OnOff:
            if (amount + 1e-50 >= 0.5) record.SetOn((KRandom::Next() & 1) != 0);
            break;
        case KParameterType::GroupHeader:
            if (amount + 1e-50 >= 0.5 && record.group.enabled) *record.group.enabled = std::uint8_t(KRandom::Next() & 1);
            break;
        default: break;
    }
}

}  // namespace KParameterMapping
