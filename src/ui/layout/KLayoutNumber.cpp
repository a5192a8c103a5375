#include "ui/layout/KLayoutNumber.h"

#include <algorithm>
#include <cstdint>

#include "foundation/xml/KXMLItem.h"

namespace {

// Screens are under 10,000 pixels wide; a grid of more than 256 columns or
// rows is no editor anyone could use.
constexpr std::int64_t kExtentLimit = 10'000;
constexpr std::int64_t kRatioLimit = 10'000;
constexpr std::int64_t kCountLimit = 256;
constexpr std::int64_t kAreaLimit = kExtentLimit * kExtentLimit;

struct Range {
    std::int64_t lowest;
    std::int64_t highest;
};

Range RangeOf(KLayoutNumber kind) {
    switch (kind) {
        case KLayoutNumber::Extent: return {-kExtentLimit, kExtentLimit};
        case KLayoutNumber::Ratio: return {0, kRatioLimit};
        case KLayoutNumber::Count: return {0, kCountLimit};
        case KLayoutNumber::Area: return {0, kAreaLimit};
    }
    return {0, 0};
}

}  // namespace

int ReadLayoutNumber(const KXMLItem& item, const KString& name, int defaultValue, KLayoutNumber kind) {
    const Range range = RangeOf(kind);
    return int(std::clamp(item.IntegerAttribute(name, defaultValue), range.lowest, range.highest));
}
