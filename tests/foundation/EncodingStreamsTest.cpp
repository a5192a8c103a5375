#include <gtest/gtest.h>

#include <string>

#include "foundation/KBufferedReader.h"
#include "foundation/KBufferedWriter.h"
#include "foundation/KEncoding.h"
#include "foundation/KException.h"
#include "foundation/KMemoryStream.h"

namespace {

std::string Bytes(KMemoryStream& stream) {
    return std::string(reinterpret_cast<const char*>(stream.Data()), std::size_t(stream.Size()));
}

TEST(CodecStreams, Utf8LinesSpanBufferRefills) {
    // A first line longer than the reader's buffer, with a multi-byte
    // character across the refill boundary.
    std::string text(KBufferedReader::kBufferSize - 1, 'a');
    text += "\xC3\xA9\r\n\n";
    text += "last";
    KMemoryStream stream(text.data(), int(text.size()));
    KBufferedReader reader(stream);
    KString line;
    ASSERT_TRUE(KEncoding::UTF8().ReadLine(reader, line));
    EXPECT_EQ(line.Length(), KBufferedReader::kBufferSize);
    EXPECT_EQ(line[line.Length() - 1], u'\u00e9');
    ASSERT_TRUE(KEncoding::UTF8().ReadLine(reader, line));
    EXPECT_TRUE(line.IsEmpty());
    ASSERT_TRUE(KEncoding::UTF8().ReadLine(reader, line));
    EXPECT_EQ(line.ToUTF8(), "last");
    EXPECT_FALSE(KEncoding::UTF8().ReadLine(reader, line));
}

TEST(CodecStreams, ZeroCharacterEndsALine) {
    const std::string text("ab\0cd", 5);
    KMemoryStream stream(text.data(), 5);
    KBufferedReader reader(stream);
    KString line;
    ASSERT_TRUE(KEncoding::ASCII().ReadLine(reader, line));
    EXPECT_EQ(line.ToUTF8(), "ab");
    ASSERT_TRUE(KEncoding::ASCII().ReadLine(reader, line));
    EXPECT_EQ(line.ToUTF8(), "cd");
}

TEST(CodecStreams, Utf16HeaderAndLines) {
    KMemoryStream stream;
    KEncoding::UTF16().WriteHeader(stream);
    KBufferedWriter writer(stream);
    KEncoding::UTF16().WriteLine(KString::FromUTF16(u"\u4e2d"), writer);
    KEncoding::UTF16().Write("x", writer);
    writer.Flush();
    EXPECT_EQ(Bytes(stream), std::string("\xFF\xFE\x2D\x4E\n\0x\0", 8));

    stream.Seek(0, KStream::SeekOrigin::Start);
    KEncoding::UTF16().ReadHeader(stream);
    KBufferedReader reader(stream);
    KString line;
    ASSERT_TRUE(KEncoding::UTF16().ReadLine(reader, line));
    EXPECT_EQ(line.ToUTF16(), u"\u4e2d");
    ASSERT_TRUE(KEncoding::UTF16().ReadLine(reader, line));
    EXPECT_EQ(line.ToUTF8(), "x");

    KMemoryStream wrong("\xFE\xFF", 2);
    try {
        KEncoding::UTF16().ReadHeader(wrong);
        FAIL();
    } catch (const KException& e) {
        EXPECT_EQ(e.Message().ToUTF8(), "Invalid UTF8 header.");
    }
}

TEST(CodecStreams, WriterHandsOverFullBlocksAndTheRestOnFlush) {
    KMemoryStream stream;
    KBufferedWriter writer(stream);
    const std::string text(KBufferedWriter::kBufferSize + 10, 'z');
    KEncoding::UTF8().Write(KString::FromUTF8(text), writer);
    EXPECT_EQ(stream.Size(), KBufferedWriter::kBufferSize);
    writer.Flush();
    EXPECT_EQ(Bytes(stream), text);
}

TEST(CodecStreams, LegacyCharacterSetDecodesTheUpperHalf) {
    KMemoryStream stream("\x80\xE9", 2);
    KBufferedReader reader(stream);
    KString line;
    ASSERT_TRUE(KEncoding::Find("windows-1252").ReadLine(reader, line));
    EXPECT_EQ(line.ToUTF16(), u"\u20ac\u00e9");
    EXPECT_EQ(KEncoding::FindKnown("klingon"), nullptr);
    EXPECT_EQ(KEncoding::FindKnown("UTF-8"), &KEncoding::UTF8());
}

}  // namespace
