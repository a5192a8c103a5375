#include "plugin/parameters/KParameterRecord.h"

#include <algorithm>
#include <cmath>
#include <utility>

KParameterRecord KParameterRecord::Float(KString name, KString identifier, double minimum, double maximum,
                                         double defaultValue, KDisplayFunction display) {
    KParameterRecord record;
    record.type = KParameterType::Float;
    record.name = std::move(name);
    record.identifier = std::move(identifier);
    record.display = display;
    record.floating.minimum = minimum;
    record.floating.maximum = maximum;
    record.floating.defaultValue = record.floating.value = record.floating.alternate = record.floating.running =
        defaultValue;
    return record;
}

KParameterRecord KParameterRecord::Integer(KString name, KString identifier, int minimum, int maximum,
                                           int defaultValue) {
    KParameterRecord record;
    record.type = KParameterType::Integer;
    record.name = std::move(name);
    record.identifier = std::move(identifier);
    record.integer.minimum = minimum;
    record.integer.maximum = maximum;
    record.integer.defaultValue = record.integer.value = record.integer.alternate = defaultValue;
    return record;
}

KParameterRecord KParameterRecord::List(KString name, KString identifier, const char* const* entries, int count,
                                        int defaultIndex) {
    KParameterRecord record;
    record.type = KParameterType::List;
    record.name = std::move(name);
    record.identifier = std::move(identifier);
    record.list.entries = entries;
    record.list.count = count;
    record.list.defaultIndex = record.list.selected = defaultIndex;
    return record;
}

KParameterRecord KParameterRecord::OnOff(KString name, KString identifier, bool defaultValue) {
    KParameterRecord record;
    record.type = KParameterType::OnOff;
    record.name = std::move(name);
    record.identifier = std::move(identifier);
    record.onOff.defaultValue = record.onOff.value = defaultValue ? 1 : 0;
    return record;
}

KParameterRecord KParameterRecord::GroupHeader(KString name, std::uint8_t* enabled) {
    KParameterRecord record;
    record.type = KParameterType::GroupHeader;
    record.name = std::move(name);
    record.group.enabled = enabled;
    return record;
}

bool KParameterRecord::IsOn() const noexcept {
    switch (type) {
        case KParameterType::OnOff: return onOff.value != 0;
        case KParameterType::GroupHeader: return group.enabled && *group.enabled != 0;
        default: return false;
    }
}

namespace {

// Ranges are declared low to high, but a reversed one must not let a value out.
double InFloatRange(const KParameterRecord::FloatFields& f, double value) noexcept {
    return std::clamp(value, std::min(f.minimum, f.maximum), std::max(f.minimum, f.maximum));
}

std::int32_t InIntegerRange(const KParameterRecord::IntegerFields& i, std::int64_t value) noexcept {
    return std::int32_t(std::clamp<std::int64_t>(value, std::min(i.minimum, i.maximum), std::max(i.minimum, i.maximum)));
}

}  // namespace

void KParameterRecord::SetFloatValue(double value) noexcept {
    if (!std::isnan(value)) floating.value = InFloatRange(floating, value);
}

void KParameterRecord::SetFloatAlternate(double value) noexcept {
    if (!std::isnan(value)) floating.alternate = InFloatRange(floating, value);
}

void KParameterRecord::SetFloatRunning(double value) noexcept {
    if (!std::isnan(value)) floating.running = InFloatRange(floating, value);
}

void KParameterRecord::SetIntegerValue(std::int64_t value) noexcept { integer.value = InIntegerRange(integer, value); }

void KParameterRecord::SetIntegerAlternate(std::int64_t value) noexcept {
    integer.alternate = InIntegerRange(integer, value);
}

void KParameterRecord::SetListIndex(std::int64_t index) noexcept {
    list.selected = std::int32_t(std::clamp<std::int64_t>(index, 0, std::max(list.count - 1, 0)));
}
