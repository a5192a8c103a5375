#pragma once
#include <memory>

#include "plugin/parameters/KValueNumber.h"

// A pitch ratio (1 = unchanged, 2 = an octave up), shown and typed through
// the format string.
class KValuePitch : public KValueDouble {
public:
    using KValueDouble::KValueDouble;

    // The pitch control of an editor description: two octaves down to two up
    // (0.25..4), shown as "+1.50", fine step 0.1, coarse step 1.
    static std::unique_ptr<KValuePitch> ForEditor(double* ratio);
};
