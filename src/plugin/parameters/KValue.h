#pragma once
#include "foundation/core/KStorable.h"
#include "foundation/text/KString.h"

// A value object: binds one variable of the program and gives it what a
// control needs around it: a 0..1 position, stepping, a display text and the
// reading of typed text. It stores the variable under its key, as an
// attribute of the item handed to Store.
class KValue : public KStorable {
public:
    const KString& Key() const noexcept { return m_key; }
    void SetKey(const KString& key) { m_key = key; }

    // Set when validation had to correct the value (it lay outside the range
    // or off its grid), so the owner can learn that a value it wrote or
    // loaded was not kept as given.
    virtual bool IsChanged() const noexcept { return m_changed; }
    virtual void ClearChanged() noexcept { m_changed = false; }

    virtual KString Text() const = 0;
    // The text the value at `position` would have, without setting it.
    virtual KString TextFromPosition(double position) const = 0;
    // Reads a typed text; false, with the value unchanged, when the text holds
    // no usable number. Otherwise answers whether the value changed.
    virtual bool Parse(const KString& text) = 0;
    // Brings the value back into its range (and onto its grid).
    virtual void Validate() = 0;
    // Moves the value by `count` fine steps; answers whether it changed.
    virtual bool Step(int count) = 0;
    virtual double Position() const = 0;
    // Answers whether the value changed.
    virtual bool SetFromPosition(double position) = 0;

protected:
    void MarkChanged() noexcept { m_changed = true; }

private:
    KString m_key = "value";
    bool m_changed = false;
};
