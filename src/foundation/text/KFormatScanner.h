#pragma once
#include <concepts>
#include <cstdint>

#include "foundation/core/KSharedHandle.h"
#include "foundation/text/KString.h"

// The reverse of KFormatter: walks a "{0}" template and a typed-in text
// together and picks out the text of each placeholder, which the extraction
// operators then read in index order:
//
//   double value = 0;
//   KFormatScanner(KString("{0} ms"), input) >> value;
//
// Scanning never fails; it stops where the input no longer matches. An
// extraction beyond the arguments found leaves its target unchanged. Copies
// of a scanner share one scanned object.
class KFormatScanner {
public:
    KFormatScanner(const KString& pattern, const KString& input);
    KFormatScanner(const KFormatScanner& other) noexcept;
    KFormatScanner& operator=(const KFormatScanner& other) noexcept;
    ~KFormatScanner();

    KFormatScanner& operator>>(double& value);  // as atof reads it
    KFormatScanner& operator>>(std::int64_t& value);  // decimal, or hexadecimal with "x"
    KFormatScanner& operator>>(KString& text);
    template <std::integral T>
        requires(!std::same_as<T, std::int64_t> && !std::same_as<T, bool>)
    KFormatScanner& operator>>(T& value) {
        std::int64_t wide = std::int64_t(value);
        *this >> wide;
        value = T(wide);
        return *this;
    }
    KFormatScanner& operator>>(float& value) {
        double wide = value;
        *this >> wide;
        value = float(wide);
        return *this;
    }

    // One more than the highest placeholder index matched.
    int ArgumentCount() const noexcept;

private:
    struct Argument;
    struct Scanned;
    // The next argument's record, or null once the found ones are used up.
    const Argument* Next();

    KSharedHandle<Scanned> m_scanned;
};
