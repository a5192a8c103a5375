#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <zlib.h>

#include "foundation/Diagnostics.h"
#include "foundation/KException.h"
#include "foundation/KMemoryStream.h"
#include "foundation/KZLibStream.h"

namespace {

std::string MessageOf(auto&& action) {
    try {
        action();
    } catch (const KException& e) {
        return e.Message().ToUTF8();
    }
    return "";
}

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
    EXPECT_EQ(KZLibStream::LevelForQuality(1), 0);
    EXPECT_EQ(KZLibStream::LevelForQuality(0), 0);    // -1 / 10 truncates to 0
    EXPECT_EQ(KZLibStream::LevelForQuality(500), 9);
}

TEST(KZLibStream, OutputIsTheZlibFormatReadableByZlibItself) {
    const auto bytes = SampleBytes(20000);
    KMemoryStream packed = Compress(bytes, 100);
    ASSERT_GE(packed.Size(), 2);
    EXPECT_EQ(packed.Data()[0], 0x78);  // deflate, 32 KiB window
    EXPECT_EQ(packed.Data()[1], 0xDA);  // level 9 flags (RFC 1950 FLEVEL 3, check bits)

    std::vector<unsigned char> back(bytes.size());
    uLongf size = uLongf(back.size());
    ASSERT_EQ(uncompress(back.data(), &size, packed.Data(), uLong(packed.Size())), Z_OK);
    EXPECT_EQ(size, bytes.size());
    EXPECT_EQ(back, bytes);
}

TEST(KZLibStream, RoundTripsInSmallReads) {
    const auto bytes = SampleBytes(50000);
    KMemoryStream packed = Compress(bytes, 30);
    packed.Seek(0, KStream::SeekOrigin::Start);
    KZLibStream zlib(&packed, false);
    std::vector<unsigned char> back;
    unsigned char piece[777];
    for (int got; (got = zlib.Read(piece, sizeof piece)) > 0;) back.insert(back.end(), piece, piece + got);
    EXPECT_EQ(back, bytes);
    EXPECT_EQ(zlib.Position(), std::int64_t(bytes.size()));
    EXPECT_EQ(zlib.Substream(), &packed);
}

TEST(KZLibStream, ForwardSeekSkipsUncompressedBytes) {
    const auto bytes = SampleBytes(10000);
    KMemoryStream packed = Compress(bytes, 100);
    packed.Seek(0, KStream::SeekOrigin::Start);
    KZLibStream zlib(&packed, false);
    zlib.Seek(6000, KStream::SeekOrigin::Start);
    unsigned char byte;
    ASSERT_EQ(zlib.Read(&byte, 1), 1);
    EXPECT_EQ(byte, bytes[6000]);
    EXPECT_THROW(zlib.Seek(0, KStream::SeekOrigin::Start), KException);
}

TEST(KZLibStream, PlainTextIsInvalidContent) {
    const char text[] = "<?xml version=\"1.0\"?>\n<settings/>\n";
    KMemoryStream plain(text, int(sizeof text - 1));
    KZLibStream zlib(&plain, false);
    char buffer[64];
    EXPECT_EQ(MessageOf([&] { zlib.Read(buffer, sizeof buffer); }), "Source compressed stream has invalid content.");
}

TEST(KZLibStream, TruncatedDataEndsWithWhatWasProduced) {
    const auto bytes = SampleBytes(30000);
    KMemoryStream packed = Compress(bytes, 100);
    KMemoryStream cut(packed.Data(), int(packed.Size() / 2));
    KZLibStream zlib(&cut, false);
    std::vector<unsigned char> back(bytes.size());
    const int got = zlib.Read(back.data(), int(back.size()));
    EXPECT_GT(got, 0);
    EXPECT_LT(got, int(bytes.size()));
    EXPECT_TRUE(std::equal(back.begin(), back.begin() + got, bytes.begin()));
    EXPECT_EQ(zlib.Read(back.data(), 1), 0);
}

TEST(KZLibStream, ReadingStopsAtTheEndOfTheCompressedData) {
    const auto bytes = SampleBytes(100);
    KMemoryStream packed = Compress(bytes, 100);
    packed.Write("trailing", 8);
    packed.Seek(0, KStream::SeekOrigin::Start);
    KZLibStream zlib(&packed, false);
    std::vector<unsigned char> back(500);
    EXPECT_EQ(zlib.Read(back.data(), 500), 100);
    EXPECT_EQ(zlib.Read(back.data(), 500), 0);
}

std::vector<KString> gReports;
void Collect(const KString& text) { gReports.push_back(text); }

TEST(KZLibStream, UnfinishedCompressionIsReported) {
    KMemoryStream packed;
    {
        KZLibStream zlib(&packed, true, 100);
        zlib.Write("abc", 3);
        EXPECT_EQ(MessageOf([&] { zlib.Close(); }), "ZLIB stream has not been terminated.");
    }
    gReports.clear();
    KDiagnostics::SetListener(Collect);
    {
        KZLibStream zlib(&packed, true, 100);
        zlib.Write("abc", 3);
    }
    KDiagnostics::SetListener(nullptr);
    ASSERT_EQ(gReports.size(), 1u);
    EXPECT_EQ(gReports[0].ToUTF8(), "ZLIB stream has not been terminated.");
}

}  // namespace
