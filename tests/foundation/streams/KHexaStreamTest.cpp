#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/streams/KHexaStream.h"
#include "foundation/streams/KMemoryStream.h"
#include "support/FailureMessage.h"

namespace {

TEST(KHexaStream, WritesUpperCaseAndReadsEitherCase) {
    KMemoryStream text;
    KHexaStream hexa(&text);
    const unsigned char bytes[] = {0x0A, 0xFF};
    hexa.Write(bytes, 2);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(text.Data()), 4), "0AFF");
    EXPECT_EQ(hexa.Position(), 2);

    KMemoryStream lower("0aFfA", 5);
    KHexaStream reader(&lower);
    unsigned char back[4] = {};
    EXPECT_EQ(reader.Read(back, 4), 2);  // the lone last digit is no byte
    EXPECT_EQ(back[0], 0x0A);
    EXPECT_EQ(back[1], 0xFF);

    KMemoryStream invalid("0G", 2);
    KHexaStream invalidReader(&invalid);
    EXPECT_EQ(FailureMessage([&] { invalidReader.Read(back, 1); }), "Invalid character to be converted to a number.");
}

TEST(KHexaStream, RoundTripsBlocksLongerThanOnePiece) {
    std::vector<unsigned char> bytes(1000);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 7 + 3);
    KMemoryStream text;
    KHexaStream writer(&text);
    writer.Write(bytes.data(), int(bytes.size()));
    EXPECT_EQ(text.Size(), 2000);

    text.Seek(0, KStream::SeekOrigin::Start);
    KHexaStream reader(&text);
    EXPECT_EQ(reader.Size(), 1000);
    reader.Seek(10, KStream::SeekOrigin::Start);  // in bytes
    std::vector<unsigned char> back(bytes.size());
    EXPECT_EQ(reader.Read(back.data(), int(back.size())), 990);
    EXPECT_TRUE(std::equal(bytes.begin() + 10, bytes.end(), back.begin()));
}

}  // namespace
