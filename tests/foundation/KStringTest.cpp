#include <gtest/gtest.h>

#include "foundation/KString.h"

namespace {

TEST(KString, LiteralIsBorrowedUntilChanged) {
    static const char text[] = "abc";
    KString s = text;
    EXPECT_TRUE(s.IsNarrowLiteral());
    EXPECT_EQ(s.Length(), 3);
    s.Append(u'd');
    EXPECT_FALSE(s.IsNarrowLiteral());
    EXPECT_EQ(s.ToUTF8(), "abcd");
}

}  // namespace
