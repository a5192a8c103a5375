#include <gtest/gtest.h>

#include <cstring>

#include "foundation/streams/KMemoryStream.h"
#include "support/FailureMessage.h"

namespace {

bool Holds(const KMemoryStream& stream, const char* bytes) {
    return std::memcmp(stream.Data(), bytes, std::strlen(bytes)) == 0;
}

TEST(KMemoryStream, GrowsToTheExactSizeThenDoubles) {
    KMemoryStream stream;
    stream.Write("abc", 3);
    EXPECT_EQ(stream.Capacity(), 3);
    stream.Write("d", 1);
    EXPECT_EQ(stream.Capacity(), 6);
    stream.Write("0123456789", 10);  // 14 needed: 6 -> 12 -> 24
    EXPECT_EQ(stream.Capacity(), 24);
    stream.Seek(2, KStream::SeekOrigin::Start);
    stream.Write("XY", 2);  // overwriting inside keeps the size
    EXPECT_EQ(stream.Size(), 14);
    EXPECT_TRUE(Holds(stream, "abXY0123456789"));
}

TEST(KMemoryStream, SeekIsClampedAndReadStopsAtTheEnd) {
    KMemoryStream stream;
    stream.Write("0123456789", 10);
    stream.Seek(3, KStream::SeekOrigin::Start);
    stream.Seek(-5, KStream::SeekOrigin::Current);
    EXPECT_EQ(stream.Position(), 0);
    stream.Seek(20, KStream::SeekOrigin::Start);
    EXPECT_EQ(stream.Position(), 10);
    EXPECT_TRUE(stream.AtEnd());
    stream.Seek(-4, KStream::SeekOrigin::End);
    EXPECT_EQ(*stream.PointerAtPosition(), '6');
    EXPECT_EQ(FailureMessage([&] { stream.Seek(0, KStream::SeekOrigin(3)); }), "Invalid seek origin.");

    stream.Seek(8, KStream::SeekOrigin::Start);
    char buffer[5];
    EXPECT_EQ(stream.Read(buffer, 5), 2);
    EXPECT_EQ(stream.Read(buffer, 5), 0);
    EXPECT_EQ(FailureMessage([&] { stream.Truncate(0); }), "Service \"truncate stream\" is not implemented.");
}

TEST(KMemoryStream, CopiesShareTheBlockUntilOneWrites) {
    KMemoryStream original;
    original.Write("abc", 3);
    KMemoryStream copy(original);
    EXPECT_EQ(copy.Data(), original.Data());
    copy.Seek(0, KStream::SeekOrigin::Start);
    copy.Write("X", 1);
    EXPECT_NE(copy.Data(), original.Data());
    EXPECT_TRUE(Holds(original, "abc"));
    EXPECT_TRUE(Holds(copy, "Xbc"));

    KMemoryStream assigned;
    assigned = copy;
    copy.Reset();
    EXPECT_EQ(copy.Size(), 0);
    EXPECT_EQ(copy.Data(), nullptr);
    EXPECT_TRUE(Holds(assigned, "Xbc"));
}

TEST(KMemoryStream, ExternalBytesAreReadInPlaceAndNeverWritten) {
    const char external[] = "hello";
    KMemoryStream stream(external, 5);
    EXPECT_EQ(stream.Data(), reinterpret_cast<const std::uint8_t*>(external));
    stream.Seek(0, KStream::SeekOrigin::End);
    stream.Write("!", 1);
    EXPECT_STREQ(external, "hello");
    EXPECT_TRUE(Holds(stream, "hello!"));
}

TEST(KMemoryStream, LineReadingLeavesThePositionAfterWhatItTook) {
    KMemoryStream stream("ab\r\nc", 5);
    char buffer[3];
    EXPECT_EQ(stream.ReadLine(buffer, 3), KStream::LineStatus::Continues);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(stream.Position(), 2);
    EXPECT_EQ(stream.ReadLine(buffer, 3), KStream::LineStatus::Complete);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(stream.Position(), 4);
    EXPECT_EQ(stream.ReadLine(buffer, 3), KStream::LineStatus::Complete);
    EXPECT_STREQ(buffer, "c");
    EXPECT_EQ(stream.ReadLine(buffer, 3), KStream::LineStatus::End);
}

}  // namespace
