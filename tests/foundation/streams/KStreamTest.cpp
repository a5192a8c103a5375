#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "foundation/streams/KStream.h"
#include "support/FailureMessage.h"

namespace {

// Serves its bytes through Read only, so that line reading, seeking and
// filler writing run the base class's logic.
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

TEST(KStream, UnsupportedServicesNameTheOperation) {
    KStream stream;
    char byte = 0;
    auto service = [](const char* name) { return "Service \"" + std::string(name) + "\" is not implemented."; };
    EXPECT_EQ(FailureMessage([&] { stream.Read(&byte, 1); }), service("read from stream"));
    EXPECT_EQ(FailureMessage([&] { stream.Write(&byte, 1); }), service("write to stream"));
    EXPECT_EQ(FailureMessage([&] { stream.Substream(); }), service("return substream"));
    EXPECT_EQ(FailureMessage([&] { stream.Position(); }), service("get stream position"));
    EXPECT_EQ(FailureMessage([&] { stream.Flush(); }), service("flush stream"));
    EXPECT_EQ(FailureMessage([&] { stream.AtEnd(); }), service("end of stream test"));
    EXPECT_EQ(FailureMessage([&] { stream.Truncate(0); }), service("truncate stream"));
    EXPECT_EQ(FailureMessage([&] { stream.Size(); }), service("stream size detection"));
    EXPECT_TRUE(stream.IsValid());
}

TEST(KStream, LineReadingWithSmallBufferReportsTheThreeStatuses) {
    ScriptedStream stream(std::string("ab\r\nc\0d", 7));
    char buffer[3];
    EXPECT_EQ(stream.ReadLine(buffer, 3), KStream::LineStatus::Continues);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(stream.ReadLine(buffer, 3), KStream::LineStatus::Complete);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(stream.ReadLine(buffer, 3), KStream::LineStatus::Complete);  // ended by the zero byte
    EXPECT_STREQ(buffer, "c");
    EXPECT_EQ(stream.ReadLine(buffer, 3), KStream::LineStatus::Complete);  // ended by the data
    EXPECT_STREQ(buffer, "d");
    EXPECT_EQ(stream.ReadLine(buffer, 3), KStream::LineStatus::End);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(FailureMessage([&] { stream.ReadLine(buffer, 1); }), "Line buffer is too small.");
}

TEST(KStream, TextLinesJoinPiecesAndWidenBytesAsSigned) {
    const std::string longLine(600, 'x');
    ScriptedStream stream(longLine + "\n\xC3\n");
    KString line;
    ASSERT_TRUE(stream.ReadTextLine(line));
    EXPECT_EQ(line.ToUTF8(), longLine);
    line = stream.ReadRequiredLine();
    ASSERT_EQ(line.Length(), 1);
    EXPECT_EQ(line[0], char16_t(0xFFC3));  // (signed char)0xC3 = -61 = 0xFFC3 in 16 bits
    EXPECT_FALSE(stream.ReadTextLine(line));
    EXPECT_EQ(FailureMessage([&] { stream.ReadRequiredLine(); }), "Could not load a line from stream.");
    char buffer[2];
    EXPECT_EQ(FailureMessage([&] { stream.ReadRequired(buffer, 2); }), "Could not read required data from stream.");
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
    EXPECT_EQ(FailureMessage([&] { stream.Seek(0, KStream::SeekOrigin::Start); }),
              "Service \"backward seek in a stream\" is not implemented.");
    EXPECT_EQ(FailureMessage([&] { stream.Seek(0, KStream::SeekOrigin(7)); }), "Invalid seek origin.");
}

}  // namespace
