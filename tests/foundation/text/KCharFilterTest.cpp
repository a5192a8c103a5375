#include <gtest/gtest.h>

#include "foundation/text/KCharFilter.h"

namespace {

TEST(KCharFilter, FiltersAnswerTheirClassMasks) {
    const KCharFilter::AllFilter all;
    const KCharFilter::LettersFilter letters;
    const KCharFilter::AlphaFilter alpha;
    const KCharFilter::AlphaStrictFilter alphaStrict;
    const KCharFilter::IntegerFilter integer;
    const KCharFilter::IntegerHexaFilter integerHexa;
    const KCharFilter::FloatFilter floating;
    const struct {
        const KCharFilter::Interface& filter;
        int mask;
    } cases[] = {{all, 23}, {letters, 1}, {alpha, 7}, {alphaStrict, 3}, {integer, 2}, {integerHexa, 10}, {floating, 6}};
    for (const auto& c : cases) EXPECT_EQ(c.filter.AllowedClasses(), c.mask);
}

}  // namespace
