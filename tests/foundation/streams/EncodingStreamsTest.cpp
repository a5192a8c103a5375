#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/streams/KBufferedReader.h"
#include "foundation/streams/KBufferedWriter.h"
#include "foundation/text/KEncoding.h"
#include "foundation/streams/KMemoryStream.h"
#include "support/FailureMessage.h"

namespace {

TEST(CodecStreams, Utf8LinesSpanBufferRefills) {
    // A first line longer than the reader's buffer, with a two-byte
    // character across the refill boundary, then a zero character.
    std::string text(KBufferedReader::kBufferSize - 1, 'a');
    text += "\xC3\xA9\r\n\nnext";
    text += std::string("\0last", 5);
    KMemoryStream stream(text.data(), int(text.size()));
    KBufferedReader reader(stream);
    const KEncoding::Codec& utf8 = KEncoding::UTF8();
    KString line;
    ASSERT_TRUE(utf8.ReadLine(reader, line));
    EXPECT_EQ(line.Length(), KBufferedReader::kBufferSize);
    EXPECT_EQ(line[line.Length() - 1], u'\u00e9');
    ASSERT_TRUE(utf8.ReadLine(reader, line));
    EXPECT_TRUE(line.IsEmpty());
    ASSERT_TRUE(utf8.ReadLine(reader, line));
    EXPECT_EQ(line.ToUTF8(), "next");
    ASSERT_TRUE(utf8.ReadLine(reader, line));
    EXPECT_EQ(line.ToUTF8(), "last");
    EXPECT_FALSE(utf8.ReadLine(reader, line));
}

TEST(CodecStreams, Utf8WritingKeepsCharactersWholeAcrossChunksAndBlocks) {
    // One to four bytes a character, a surrogate pair among them: repeated,
    // the characters fall across every boundary of the encoder's chunks and
    // of the writer's blocks.
    const std::u16string pattern = u"a\u00e9\u20ac\U0001F600";
    const std::string encoded = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    std::u16string text;
    std::string expected;
    for (int i = 0; i < 700; ++i) {
        text += pattern;
        expected += encoded;
    }
    KMemoryStream stream;
    KBufferedWriter writer(stream);
    KEncoding::UTF8().Write(KString::FromUTF16(text), writer);
    writer.Flush();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.Data()), std::size_t(stream.Size())), expected);

    const std::vector<std::uint8_t> block = KEncoding::UTF8().Encode(KString::FromUTF16(text));
    EXPECT_EQ(std::string(block.begin(), block.end()), expected);
}

TEST(CodecStreams, Utf16HeaderLinesAndBufferedWriting) {
    KMemoryStream stream;
    KEncoding::UTF16().WriteHeader(stream);
    KBufferedWriter writer(stream);
    KEncoding::UTF16().WriteLine(KString::FromUTF16(u"\u4e2d"), writer);
    const std::u16string filler(KBufferedWriter::kBufferSize, u'z');
    KEncoding::UTF16().Write(KString::FromUTF16(filler), writer);
    // 4 + 2048 bytes went to the writer: two full blocks are written, 4 bytes wait.
    EXPECT_EQ(stream.Size(), 2 + 2 * KBufferedWriter::kBufferSize);
    writer.Flush();
    EXPECT_EQ(stream.Size(), 2 + 2 * KBufferedWriter::kBufferSize + 4);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.Data()), 6), std::string("\xFF\xFE\x2D\x4E\n\0", 6));

    stream.Seek(0, KStream::SeekOrigin::Start);
    KEncoding::UTF16().ReadHeader(stream);
    KBufferedReader reader(stream);
    KString line;
    ASSERT_TRUE(KEncoding::UTF16().ReadLine(reader, line));
    EXPECT_EQ(line.ToUTF16(), u"\u4e2d");
    ASSERT_TRUE(KEncoding::UTF16().ReadLine(reader, line));
    EXPECT_EQ(line.ToUTF16(), filler);

    KMemoryStream wrong("\xFE\xFF", 2);
    EXPECT_EQ(FailureMessage([&] { KEncoding::UTF16().ReadHeader(wrong); }), "Invalid UTF8 header.");
}

TEST(CodecStreams, LegacyCharacterSetsAndUnknownNames) {
    KMemoryStream stream("\x80\xE9", 2);
    KBufferedReader reader(stream);
    KString line;
    ASSERT_TRUE(KEncoding::Find("windows-1252").ReadLine(reader, line));
    EXPECT_EQ(line.ToUTF16(), u"\u20ac\u00e9");
    EXPECT_EQ(KEncoding::FindKnown("klingon"), nullptr);
    EXPECT_EQ(KEncoding::FindKnown("UTF-8"), &KEncoding::UTF8());
}

}  // namespace
