#pragma once
#include <span>

#include "foundation/text/KString.h"

// The display texts of values, shared by parameter records and value objects.
namespace KTextRules {

// floor(v), plus 1 when the fraction is at least 0.5.
double RoundHalfUp(double v) noexcept;

KString Percent(double fraction);
KString Frequency(double hertz);
// Frequency text with `separator` standing between number and unit.
KString Frequency(double hertz, const KString& separator);
KString Decibel(double gain);
KString Pan(double position);
KString Degrees(double turns);
KString Time(double seconds);
KString Note(int note);
// Note text of a 0..1 position's note: empty from note 128 up.
KString NoteFromPosition(int note);
// Morph text of a generator shape position 0..15, e.g. "70% Sine, 30% Harmonics".
KString Shape(double position, std::span<const KString> shapeNames);

KString DegreeSign();

}  // namespace KTextRules
