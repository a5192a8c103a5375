#pragma once
#include "plugin/parameters/KParameterRecord.h"

// The mapping of a record's value to and from the host's 0..1 range and to
// and from text, by record type.
namespace KParameterMapping {

// Float: x (linear), x^2 or x^4 of the range.
double FloatFromPosition(const KParameterRecord& record, double x) noexcept;
double FloatPosition(const KParameterRecord& record, double value) noexcept;
std::int32_t IntegerFromPosition(const KParameterRecord& record, double x) noexcept;
std::int32_t ListIndexFromPosition(const KParameterRecord& record, double x) noexcept;

// Writes the value that position x stands for (float and integer records
// write the alternate value while redirected).
void SetFromPosition(KParameterRecord& record, double x) noexcept;
double Position(const KParameterRecord& record) noexcept;
double DefaultPosition(const KParameterRecord& record) noexcept;

KString ValueText(const KParameterRecord& record);
KString ValueTextFrom01(const KParameterRecord& record, double x);
// The text of the record's default value.
KString DefaultValueText(const KParameterRecord& record);
// The 0..1 position of a typed text; a text that cannot be read gives the
// position of the unchanged value (list: 0 when no entry matches).
double ParsePosition(const KParameterRecord& record, const KString& text);

// Moves the value randomly by `amount` (1: anywhere in the range) with the
// shared pseudo-random generator.
void Randomize(KParameterRecord& record, double amount) noexcept;

}  // namespace KParameterMapping
