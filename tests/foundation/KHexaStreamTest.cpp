#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/KException.h"
#include "foundation/KHexaStream.h"
#include "foundation/KMemoryStream.h"

namespace {

std::string TextOf(KMemoryStream& stream) {
    return std::string(reinterpret_cast<const char*>(stream.Data()), std::size_t(stream.Size()));
}

TEST(KHexaStream, WritesUpperCaseDigitsHighNibbleFirst) {
    KMemoryStream text;
    KHexaStream hexa(&text);
    const unsigned char bytes[] = {0x0A, 0xFF};
    hexa.Write(bytes, 2);
    EXPECT_EQ(TextOf(text), "0AFF");
    EXPECT_EQ(hexa.Position(), 2);
    EXPECT_EQ(hexa.Size(), 2);
}

TEST(KHexaStream, ReadsEitherCase) {
    KMemoryStream text("0aFf", 4);
    KHexaStream hexa(&text);
    unsigned char bytes[4] = {};
    EXPECT_EQ(hexa.Read(bytes, 4), 2);
    EXPECT_EQ(bytes[0], 0x0A);
    EXPECT_EQ(bytes[1], 0xFF);
    EXPECT_TRUE(hexa.AtEnd());
}

TEST(KHexaStream, RejectsNonDigits) {
    KMemoryStream text("0G", 2);
    KHexaStream hexa(&text);
    unsigned char byte;
    try {
        hexa.Read(&byte, 1);
        FAIL();
    } catch (const KException& e) {
        EXPECT_EQ(e.Message().ToUTF8(), "Invalid character to be converted to a number.");
    }
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
    reader.Seek(10, KStream::SeekOrigin::Start);  // in bytes
    std::vector<unsigned char> back(bytes.size());
    EXPECT_EQ(reader.Read(back.data(), int(back.size())), 990);
    EXPECT_TRUE(std::equal(bytes.begin() + 10, bytes.end(), back.begin()));
}

TEST(KHexaStream, DropsAHalfByteAtTheEnd) {
    KMemoryStream text("ABC", 3);
    KHexaStream hexa(&text);
    unsigned char bytes[2];
    EXPECT_EQ(hexa.Read(bytes, 2), 1);
    EXPECT_EQ(bytes[0], 0xAB);
}

TEST(KHexaStream, WithoutTargetIsInvalid) {
    KHexaStream hexa(nullptr);
    EXPECT_FALSE(hexa.IsValid());
    EXPECT_THROW(hexa.Write("x", 1), KException);
}

}  // namespace
