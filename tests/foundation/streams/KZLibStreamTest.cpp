#include <gtest/gtest.h>

#include <vector>
#include <zlib.h>

#include "foundation/core/Diagnostics.h"
#include "foundation/streams/KMemoryStream.h"
#include "foundation/streams/KZLibStream.h"
#include "support/FailureMessage.h"

namespace {

std::vector<unsigned char> SampleBytes(std::size_t count) {
    std::vector<unsigned char> bytes(count);
    std::uint32_t state = 1;
    for (auto& byte : bytes) {
        state = state * 214013 + 2531011;
        byte = static_cast<unsigned char>("<item value=\"0123456789\"/>\n"[(state >> 16) % 27]);
    }
    return bytes;
}

KMemoryStream Compress(const std::vector<unsigned char>& bytes, int quality) {
    KMemoryStream packed;
    KZLibStream zlib(&packed, true, quality);
    zlib.Write(bytes.data(), int(bytes.size()));
    EXPECT_EQ(zlib.Position(), std::int64_t(bytes.size()));
    zlib.Finish();
    return packed;
}

TEST(KZLibStream, QualityMapsToZlibLevels) {
    EXPECT_EQ(KZLibStream::LevelForQuality(100), 9);  // 99 / 10
    EXPECT_EQ(KZLibStream::LevelForQuality(50), 4);   // 49 / 10
    EXPECT_EQ(KZLibStream::LevelForQuality(0), 0);    // -1 / 10 truncates to 0
    EXPECT_EQ(KZLibStream::LevelForQuality(500), 9);
}

TEST(KZLibStream, OutputIsTheZlibFormatReadableByZlibItself) {
    const auto bytes = SampleBytes(20000);
    KMemoryStream packed = Compress(bytes, 100);
    ASSERT_GE(packed.Size(), 2);
    EXPECT_EQ(packed.Data()[0], 0x78);  // deflate, 32 KiB window
    EXPECT_EQ(packed.Data()[1], 0xDA);  // RFC 1950 level field 3 (best) with its check bits

    std::vector<unsigned char> back(bytes.size());
    uLongf size = uLongf(back.size());
    ASSERT_EQ(uncompress(back.data(), &size, packed.Data(), uLong(packed.Size())), Z_OK);
    EXPECT_EQ(back, bytes);
}

TEST(KZLibStream, RoundTripsInSmallReadsAndSeeksForward) {
    const auto bytes = SampleBytes(50000);
    KMemoryStream packed = Compress(bytes, 30);
    packed.Write("trailing", 8);  // bytes after the compressed data are not read as content
    packed.Seek(0, KStream::SeekOrigin::Start);
    KZLibStream zlib(&packed, false);
    EXPECT_EQ(zlib.Substream(), &packed);
    zlib.Seek(100, KStream::SeekOrigin::Start);
    std::vector<unsigned char> back(bytes.begin(), bytes.begin() + 100);
    unsigned char piece[777];
    for (int got; (got = zlib.Read(piece, sizeof piece)) > 0;) back.insert(back.end(), piece, piece + got);
    EXPECT_EQ(back, bytes);
    EXPECT_EQ(zlib.Position(), std::int64_t(bytes.size()));
    EXPECT_EQ(FailureMessage([&] { zlib.Seek(0, KStream::SeekOrigin::Start); }),
              "Service \"backward seek in a stream\" is not implemented.");
}

TEST(KZLibStream, BadInputEndsQuietlyOrWithTheContentError) {
    const char text[] = "<?xml version=\"1.0\"?>\n<settings/>\n";
    KMemoryStream plain(text, int(sizeof text - 1));
    KZLibStream overPlain(&plain, false);
    char buffer[64];
    EXPECT_EQ(FailureMessage([&] { overPlain.Read(buffer, sizeof buffer); }),
              "Source compressed stream has invalid content.");

    // Data that stops early gives what it holds, then nothing.
    const auto bytes = SampleBytes(30000);
    KMemoryStream packed = Compress(bytes, 100);
    KMemoryStream cut(packed.Data(), int(packed.Size() / 2));
    KZLibStream overCut(&cut, false);
    std::vector<unsigned char> back(bytes.size());
    const int got = overCut.Read(back.data(), int(back.size()));
    EXPECT_GT(got, 0);
    EXPECT_LT(got, int(bytes.size()));
    EXPECT_TRUE(std::equal(back.begin(), back.begin() + got, bytes.begin()));
    EXPECT_EQ(overCut.Read(back.data(), 1), 0);
}

std::vector<std::string> gReports;
void Collect(const KString& text) { gReports.push_back(text.ToUTF8()); }

TEST(KZLibStream, UnfinishedCompressionIsAnError) {
    KMemoryStream packed;
    {
        KZLibStream zlib(&packed, true, 100);
        zlib.Write("abc", 3);
        EXPECT_EQ(FailureMessage([&] { zlib.Close(); }), "ZLIB stream has not been terminated.");
    }
    // A destructor cannot raise: it reports instead.
    gReports.clear();
    KDiagnostics::SetListener(Collect);
    {
        KZLibStream zlib(&packed, true, 100);
        zlib.Write("abc", 3);
    }
    KDiagnostics::SetListener(nullptr);
    EXPECT_EQ(gReports, std::vector<std::string>{"ZLIB stream has not been terminated."});
}

}  // namespace
