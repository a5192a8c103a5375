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

void KParameterRecord::SetFloat(double value) noexcept {
    const double low = std::min(floating.minimum, floating.maximum);
    const double high = std::max(floating.minimum, floating.maximum);
    floating.value = std::isnan(value) ? low : std::clamp(value, low, high);
}

void KParameterRecord::SetInteger(std::int64_t value) noexcept {
    const std::int64_t low = std::min(integer.minimum, integer.maximum);
    const std::int64_t high = std::max(integer.minimum, integer.maximum);
    integer.value = std::int32_t(std::clamp(value, low, high));
}

void KParameterRecord::SetSelected(std::int64_t index) noexcept {
    list.selected = std::int32_t(std::clamp<std::int64_t>(index, 0, std::max(list.count - 1, 0)));
}
