#pragma once
#include <cstdint>

#include "foundation/text/KString.h"

// The shape of the segment that runs from a control point to the next one.
// The index is what the point holds; the name is what is stored.
enum class KEnvelopeSegmentType : std::int32_t {
    Quadratic = 0,    // "Mode 1"
    FourthOrder = 1,  // "Mode 2"
    Exponencial = 2,  // "Mode 3"
    Bezier = 3,       // "Free 1"
    Double = 4,       // "Double 1"
    Smooth1 = 5,      // slopes taken from the neighbouring segments
    Smooth2 = 6,      // slopes taken from the neighbouring points
    Stairs = 7,
    Pulses = 8,
    Saw = 9,
    Triangles = 10,
    Sines = 11,
};

// What the editor shows for a segment type and which point fields it reads.
struct KEnvelopeSegmentTypeInfo {
    enum Usage : std::uint8_t {
        kUsesCurvatureX = 0x01,
        kUsesCurvature = 0x02,
        kSmooth = 0x04,
    };

    const char* name;
    const char* description;
    std::uint8_t usage;

    static constexpr int kCount = 12;

    // Null for a value outside the table.
    static const KEnvelopeSegmentTypeInfo* Find(KEnvelopeSegmentType type) noexcept;
    // Case-insensitive lookup of a stored name; false when no type has it.
    static bool FromName(const KString& name, KEnvelopeSegmentType& type) noexcept;
};
