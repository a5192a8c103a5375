#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KCraftedState.h"
#include "KStateShape.h"
#include "foundation/streams/KMemoryStream.h"
#include "foundation/xml/KXMLDocument.h"

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<std::uint8_t> Compressed(const std::string& upsampling, const std::string& agc) {
    KXMLDocument document("settings");
    document.Root().SetAttribute("upsampling", KString::FromUTF8(upsampling));
    document.Root().SetAttribute("AGC", KString::FromUTF8(agc));
    KMemoryStream stream;
    document.WriteCompressed(stream);
    const std::uint8_t* data = stream.Data();
    return {data, data + stream.Size()};
}

TEST(StateShape, ReadsPlainAndCompressedStates) {
    const KStateShape plain = ShapeOfState(Bytes("<settings upsampling=\"4\" AGC=\"1\" hqupsampling=\"1\"/>"), {});
    EXPECT_EQ(plain.processing.upsampling, 4);
    EXPECT_TRUE(plain.processing.gainCompensation);
    EXPECT_TRUE(plain.highQualityUpsampling);

    const KStateShape compressed = ShapeOfState(Compressed("8", "0"), plain);
    EXPECT_EQ(compressed.processing.upsampling, 8);
    EXPECT_FALSE(compressed.processing.gainCompensation);
    EXPECT_TRUE(compressed.highQualityUpsampling);  // not in the block: kept
}

TEST(StateShape, KeepsTheCurrentShapeForEmptyOrUnreadableStates) {
    KStateShape current;
    current.processing = {true, 2};
    for (const std::string& bytes : {std::string(), std::string("\x78\x9c garbage"), std::string("no xml")}) {
        const KStateShape shape = ShapeOfState(Bytes(bytes), current);
        EXPECT_EQ(shape.processing.upsampling, 2) << bytes;
        EXPECT_TRUE(shape.processing.gainCompensation) << bytes;
    }
}

TEST(StateShape, UnionIsTheLooserOfBoth) {
    KStateShape plain;
    KStateShape upsampled;
    upsampled.processing.upsampling = 4;
    KStateShape compensated;
    compensated.processing.gainCompensation = true;
    const KStateShape both = Union(upsampled, compensated);
    EXPECT_EQ(both.processing.upsampling, 4);
    EXPECT_TRUE(both.processing.gainCompensation);
    EXPECT_EQ(Union(plain, upsampled).processing.upsampling, 4);
    EXPECT_EQ(Union(plain, plain).processing.upsampling, 1);
}

TEST(CraftedState, IsASettingsDocumentTheLoaderReads) {
    for (std::uint64_t seed = 0; seed < 200; ++seed) {
        KTortureRandom random(seed);
        const std::string xml = CraftSettings(random);
        KMemoryStream stream(xml.data(), int(xml.size()));
        KXMLDocument document;
        document.Parse(stream);
        EXPECT_TRUE(document.ParsedCompletely()) << xml;
        EXPECT_EQ(document.Root().Name().ToUTF8(), "settings");
    }
}

TEST(CraftedState, DamageChangesTheBlock) {
    const std::vector<std::uint8_t> state = Compressed("2", "1");
    for (std::uint64_t seed = 0; seed < 50; ++seed) {
        KTortureRandom random(seed);
        EXPECT_NE(Damage(state, random), state);
    }
}

}  // namespace
