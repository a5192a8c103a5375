#pragma once
#include <concepts>
#include <cstdint>

#include "foundation/core/KSharedHandle.h"
#include "foundation/text/KString.h"
#include "foundation/text/NumberText.h"

// A compiled "{0}"-style format template. Arguments are fed in index order
// with operator<<; each is inserted where its placeholder stands, so
// "{1}{0}" fed "a" then "b" gives "ba". Copies of a formatter share one
// compiled object.
//
// Placeholder: "{" index [options] "}", the options made of
// " "/"0" + width (fill), "." + precision, "+" (explicit plus), "x" (hex);
// other characters are skipped, so "{0;.2}" and "{0.2}" both mean two
// decimals (see KFormatPlaceholder). "{{" emits "{" and "}" emits the
// character after it.
class KFormatter {
public:
    explicit KFormatter(const KString& pattern);
    KFormatter(const KFormatter& other) noexcept;
    KFormatter& operator=(const KFormatter& other) noexcept;
    ~KFormatter();

    KFormatter& operator<<(std::int64_t value);
    KFormatter& operator<<(std::uint64_t value);
    KFormatter& operator<<(double value);
    KFormatter& operator<<(const KString& text);
    KFormatter& operator<<(const char* text);
    template <std::signed_integral T>
        requires(!std::same_as<T, std::int64_t>)
    KFormatter& operator<<(T value) { return *this << std::int64_t(value); }
    template <std::unsigned_integral T>
        requires(!std::same_as<T, std::uint64_t> && !std::same_as<T, bool>)
    KFormatter& operator<<(T value) { return *this << std::uint64_t(value); }
    KFormatter& operator<<(float value) { return *this << double(value); }

    KString ToString() const;
    operator KString() const { return ToString(); }  // NOLINT: the formatter reads as its text

    int ArgumentCount() const noexcept;

private:
    struct Compiled;
    void Insert(const KString& text);

    KSharedHandle<Compiled> m_compiled;
};
