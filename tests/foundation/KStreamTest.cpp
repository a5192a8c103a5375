#include <gtest/gtest.h>

#include <string>

#include "foundation/KException.h"
#include "foundation/KStream.h"

namespace {

// Serves bytes one read call at a time, using only the base class's line,
// seek and filler logic on top.
class ScriptedStream : public KStream {
public:
    explicit ScriptedStream(std::string bytes) : m_bytes(std::move(bytes)) {}

    int Read(void* buffer, int count) override {
        const int n = std::min<int>(count, int(m_bytes.size() - m_position));
        std::copy_n(m_bytes.data() + m_position, n, static_cast<char*>(buffer));
        m_position += std::size_t(n);
        return n;
    }
    void Write(const void* data, int count) override {
        written.append(static_cast<const char*>(data), std::size_t(count));
        ++writeCalls;
    }
    std::int64_t Position() override { return std::int64_t(m_position); }
    std::int64_t Size() override { return std::int64_t(m_bytes.size()); }

    std::string written;
    int writeCalls = 0;

private:
    std::string m_bytes;
    std::size_t m_position = 0;
};

std::string MessageOf(auto&& action) {
    try {
        action();
    } catch (const KException& e) {
        return e.Message().ToUTF8();
    }
    return "";
}

TEST(KStream, UnsupportedServicesNameTheOperation) {
    KStream stream;
    char byte = 0;
    EXPECT_EQ(MessageOf([&] { stream.Read(&byte, 1); }), "Service \"read from stream\" is not implemented.");
    EXPECT_EQ(MessageOf([&] { stream.Write(&byte, 1); }), "Service \"write to stream\" is not implemented.");
    EXPECT_EQ(MessageOf([&] { stream.Substream(); }), "Service \"return substream\" is not implemented.");
    EXPECT_EQ(MessageOf([&] { stream.Position(); }), "Service \"get stream position\" is not implemented.");
    EXPECT_EQ(MessageOf([&] { stream.Flush(); }), "Service \"flush stream\" is not implemented.");
    EXPECT_EQ(MessageOf([&] { stream.AtEnd(); }), "Service \"end of stream test\" is not implemented.");
    EXPECT_EQ(MessageOf([&] { stream.Truncate(0); }), "Service \"truncate stream\" is not implemented.");
    EXPECT_EQ(MessageOf([&] { stream.Size(); }), "Service \"stream size detection\" is not implemented.");
    EXPECT_TRUE(stream.IsValid());
}

TEST(KStream, LineReadingWithSmallBufferReportsTheThreeStatuses) {
    ScriptedStream stream("ab\r\nc");
    char buffer[3];
    EXPECT_EQ(stream.ReadLine(buffer, 3), KStream::LineStatus::Continues);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(stream.ReadLine(buffer, 3), KStream::LineStatus::Complete);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(stream.ReadLine(buffer, 3), KStream::LineStatus::Complete);
    EXPECT_STREQ(buffer, "c");
    EXPECT_EQ(stream.ReadLine(buffer, 3), KStream::LineStatus::End);
    EXPECT_STREQ(buffer, "");
}

TEST(KStream, ZeroByteEndsALine) {
    ScriptedStream stream(std::string("ab\0cd", 5));
    char buffer[16];
    EXPECT_EQ(stream.ReadLine(buffer, 16), KStream::LineStatus::Complete);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(stream.ReadLine(buffer, 16), KStream::LineStatus::Complete);
    EXPECT_STREQ(buffer, "cd");
    EXPECT_EQ(MessageOf([&] { stream.ReadLine(buffer, 1); }), "Line buffer is too small.");
}

TEST(KStream, TextLinesLongerThanOnePieceAreJoined) {
    const std::string longLine(600, 'x');
    ScriptedStream stream(longLine + "\nend");
    KString line;
    ASSERT_TRUE(stream.ReadTextLine(line));
    EXPECT_EQ(line.ToUTF8(), longLine);
    EXPECT_EQ(stream.ReadRequiredLine().ToUTF8(), "end");
    EXPECT_FALSE(stream.ReadTextLine(line));
    EXPECT_EQ(MessageOf([&] { stream.ReadRequiredLine(); }), "Could not load a line from stream.");
}

TEST(KStream, TextLineBytesAreWidenedAsSigned) {
    ScriptedStream stream("\xC3\xA9");
    KString line;
    ASSERT_TRUE(stream.ReadTextLine(line));
    ASSERT_EQ(line.Length(), 2);
    EXPECT_EQ(line[0], char16_t(0xFFC3));  // (signed char)0xC3 = -61 = 0xFFC3 in 16 bits
    EXPECT_EQ(line[1], char16_t(0xFFA9));
}

TEST(KStream, ReadRequiredNeedsEveryByte) {
    ScriptedStream stream("abc");
    char buffer[4];
    EXPECT_NO_THROW(stream.ReadRequired(buffer, 2));
    EXPECT_EQ(MessageOf([&] { stream.ReadRequired(buffer, 2); }), "Could not read required data from stream.");
}

TEST(KStream, WritesTextAsUtf8AndFillerInPieces) {
    ScriptedStream stream("");
    stream.WriteLine(KString::FromUTF16(u"\u00e9t\u00e9"));
    stream.WriteText("x");
    EXPECT_EQ(stream.written, "\xC3\xA9t\xC3\xA9\nx");

    stream.written.clear();
    stream.writeCalls = 0;
    stream.WriteFiller(2500);
    EXPECT_EQ(stream.written, std::string(2500, '\0'));
    EXPECT_EQ(stream.writeCalls, 3);  // 1024 + 1024 + 452
}

TEST(KStream, ForwardSeekReadsAndDropsBytes) {
    ScriptedStream stream("0123456789");
    stream.Seek(3, KStream::SeekOrigin::Start);
    stream.Seek(2, KStream::SeekOrigin::Current);
    char c;
    stream.Read(&c, 1);
    EXPECT_EQ(c, '5');
    stream.Seek(-2, KStream::SeekOrigin::End);
    stream.Read(&c, 1);
    EXPECT_EQ(c, '8');
    EXPECT_EQ(MessageOf([&] { stream.Seek(0, KStream::SeekOrigin::Start); }),
              "Service \"backward seek in a stream\" is not implemented.");
    EXPECT_EQ(MessageOf([&] { stream.Seek(0, KStream::SeekOrigin(7)); }), "Invalid seek origin.");
}

}  // namespace
