#pragma once
#include <algorithm>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <optional>
#include <type_traits>

#include "foundation/text/KFormatter.h"
#include "plugin/parameters/KTextRules.h"
#include "plugin/parameters/KValue.h"
#include "plugin/parameters/KValueParsing.h"

// Behaviour flags of KValueNumber.
enum KValueNumberFlags : unsigned {
    // Every computed, typed or loaded value is rounded half up to a whole
    // number, and the steps are whole numbers.
    kValueWholeNumbers = 1,
};

// The numeric value object. T is the bound variable's type and S the type of
// its stored form; Flags combines KValueNumberFlags (integer types are always
// whole numbers); FineSteps is the number of fine steps across the range.
//
// The position is linear over minimum..maximum, the text is the format
// string applied to the value, and typed text is read back against the
// format string. Derived classes replace the texts, the reading and the
// position mapping.
template <typename T, typename S, unsigned Flags = (std::is_integral_v<T> ? kValueWholeNumbers : 0u),
          int FineSteps = 1000>
class KValueNumber : public KValue {
    static_assert(std::is_arithmetic_v<T> && std::is_arithmetic_v<S>);
    static_assert(std::is_floating_point_v<T> || (Flags & kValueWholeNumbers) != 0, "integers are whole numbers");
    static_assert(FineSteps > 0);

public:
    using ValueType = T;
    static constexpr bool kWhole = (Flags & kValueWholeNumbers) != 0;

    // Bound to `variable`, which must outlive the object. (A template, so
    // that a literal 0 never passes for a null variable.)
    template <std::same_as<T> V>
    KValueNumber(V* variable, T minimum, T maximum) : m_value(variable), m_minimum(minimum), m_maximum(maximum) {
        Initialise();
    }
    // Holding its own variable, starting at `initial`.
    KValueNumber(T minimum, T maximum, T initial)
        : m_own(initial), m_value(&m_own), m_minimum(minimum), m_maximum(maximum) {
        Initialise();
    }
    KValueNumber(const KValueNumber&) = delete;
    KValueNumber& operator=(const KValueNumber&) = delete;

    T Value() const noexcept { return *m_value; }
    // Validates; answers whether the value changed.
    bool SetValue(T value) { return Assign(value); }
    T Minimum() const noexcept { return m_minimum; }
    T Maximum() const noexcept { return m_maximum; }
    T Default() const noexcept { return m_default; }
    T FineStep() const noexcept { return m_fineStep; }
    T CoarseStep() const noexcept { return m_coarseStep; }
    void SetSteps(T fine, T coarse) noexcept {
        m_fineStep = fine;
        m_coarseStep = coarse;
    }
    const KString& Format() const noexcept { return m_format; }
    void SetFormat(const KString& format) { m_format = format; }

    KString Text() const override { return TextOf(*m_value); }
    KString TextFromPosition(double position) const override { return TextOf(ValueAtPosition(position)); }

    bool Parse(const KString& text) override {
        const std::optional<double> typed = ValueFromText(text);
        return typed && Assign(FromDouble(*typed));
    }

    void Validate() override {
        T value = *m_value;
        if constexpr (kWhole && std::is_floating_point_v<T>) value = T(KTextRules::RoundHalfUp(value));
        value = std::clamp(value, m_minimum, m_maximum);
        if (value == *m_value) return;
        *m_value = value;
        MarkChanged();
    }

    bool Step(int count) override { return Assign(FromDouble(double(*m_value) + double(count) * double(m_fineStep))); }

    double Position() const override {
        const double range = double(m_maximum) - double(m_minimum);
        if (range == 0) return 0;
        return std::clamp((double(*m_value) - double(m_minimum)) / range, 0.0, 1.0);
    }

    bool SetFromPosition(double position) override { return Assign(ValueAtPosition(position)); }

    void Store(KStorageContext& context) override {
        if constexpr (std::is_floating_point_v<S>) {
            double value = double(S(*m_value));
            context.Field(Key(), value, double(S(m_default)));
            if (context.Loading()) *m_value = FromDouble(value);
        } else {
            std::int64_t value = std::int64_t(S(*m_value));
            context.Field(Key(), value, std::int64_t(S(m_default)));
            if (context.Loading()) *m_value = FromInteger(value);
        }
        if (context.Loading()) Validate();
    }

protected:
    // The display text of `value`.
    virtual KString TextOf(T value) const { return FormattedText(value); }
    KString FormattedText(T value) const { return KFormatter(m_format) << value; }

    // The value a typed text stands for, or nothing when it cannot be read.
    virtual std::optional<double> ValueFromText(const KString& text) const {
        return KValueParsing::NumberAgainstFormat(m_format, text);
    }

    // The value at a 0..1 position, without setting it.
    virtual T ValueAtPosition(double position) const {
        return FromDouble(double(m_minimum) + (double(m_maximum) - double(m_minimum)) * position);
    }

    T& Variable() noexcept { return *m_value; }

    // Writes, validates, and answers whether the variable changed.
    bool Assign(T value) {
        const T before = *m_value;
        *m_value = value;
        Validate();
        return *m_value != before;
    }

    // Rounds whole numbers half up; integers saturate at their type's limits.
    // A computation that broke down (NaN) falls back to the minimum rather
    // than leaving NaN in the variable.
    T FromDouble(double value) const noexcept {
        if (std::isnan(value)) return m_minimum;
        if constexpr (kWhole) value = KTextRules::RoundHalfUp(value);
        if constexpr (std::is_integral_v<T>) {
            // Compared as doubles: the limit of a 64-bit type rounds up to
            // 2^63, which itself would not convert.
            if (value <= double(std::numeric_limits<T>::lowest())) return std::numeric_limits<T>::lowest();
            if (value >= double(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
        }
        return T(value);
    }

    T FromInteger(std::int64_t value) const noexcept {
        if constexpr (std::is_integral_v<T>)
            return T(std::clamp<std::int64_t>(value, std::numeric_limits<T>::lowest(), std::numeric_limits<T>::max()));
        else
            return T(value);
    }

private:
    // Clamps the variable into the range and remembers it as the default, so
    // that a reset lands inside the range; derives the steps from the range.
    // A range given the wrong way round is read the right way round.
    void Initialise() noexcept {
        if (m_maximum < m_minimum) std::swap(m_minimum, m_maximum);
        *m_value = std::clamp(*m_value, m_minimum, m_maximum);
        m_default = *m_value;
        const double fine = (double(m_maximum) - double(m_minimum)) * (1.0 / FineSteps);
        m_fineStep = kWhole ? T(std::floor(fine)) : T(fine);
        if (!(m_fineStep > 0)) m_fineStep = T(1);
        m_coarseStep = T(10 * m_fineStep);
    }

    T m_own{};
    T* m_value;
    T m_minimum;
    T m_maximum;
    T m_fineStep{};
    T m_coarseStep{};
    T m_default{};
    KString m_format = "{0}";
};

// The further numeric value objects; each follows the base behaviour.
using KValueDouble = KValueNumber<double, double>;
using KValueInt = KValueNumber<std::int32_t, std::int32_t>;
// A 32-bit float that holds whole numbers; stored with double precision.
using KValueWholeFloat = KValueNumber<float, double, kValueWholeNumbers>;
using KValueInt64 = KValueNumber<std::int64_t, std::int64_t>;
using KValueInt16 = KValueNumber<std::int16_t, std::int32_t>;
