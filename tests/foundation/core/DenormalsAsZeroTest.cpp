#include <gtest/gtest.h>

#include <limits>

#include "foundation/core/KDenormalsAsZero.h"

namespace {

// Kept out of the compiler's reach, so that the product is computed at run
// time under the mode in force: 1e-30 * 1e-10 = 1e-40 lies below the
// smallest normal float (about 1.18e-38).
float Product(float a, float b) {
    volatile float x = a, y = b;
    return x * y;
}

TEST(DenormalsAsZero, FlushesInsideAndRestoresTheCallersModeAfter) {
    const float before = Product(1e-30f, 1e-10f);
#if defined(__SSE2__) || defined(_M_X64) || defined(__aarch64__)
    {
        KDenormalsAsZero scope;
        EXPECT_EQ(Product(1e-30f, 1e-10f), 0.0f);
        EXPECT_EQ(Product(1e-20f, 1e-10f), 1e-30f);  // normal results are untouched
    }
#endif
    EXPECT_EQ(Product(1e-30f, 1e-10f), before);
    EXPECT_GT(before, 0.0f);  // the host's own mode keeps denormals
    EXPECT_LT(before, std::numeric_limits<float>::min());
}

}  // namespace
