#pragma once
#include "foundation/text/KString.h"

// One value a control shows and changes, normalised 0..1: a host parameter
// or one of the plug-in's own settings. Changes between Begin and End form
// one gesture, which hosts record as one automation edit.
// What a control draws for a value: held inside 0..1, and 0 for one that
// is not a number, so that drawing never meets an angle or a position it
// cannot take.
inline double KShowableValue(double value) noexcept {
    if (!(value >= 0)) return 0;
    return value > 1 ? 1 : value;
}

class KValueSource {
public:
    virtual ~KValueSource() = default;
    virtual KString Name() = 0;
    virtual double Value() = 0;
    // The value as the plug-in shows it.
    virtual KString Text() = 0;
    virtual double Default() = 0;
    // 0 for a continuous value, otherwise how many values it takes.
    virtual int Steps() = 0;
    virtual void Begin() {}
    virtual void Set(double value) = 0;
    virtual void End() {}
    // Sets the value a typed text stands for; false when the text is not
    // one, which leaves the value as it was.
    virtual bool SetText(const KString& text) = 0;
};
