// The module's factory as a host sees it after dlopen.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "hosts/vst3/Vst3TestHost.h"

using namespace vst3test;

namespace {

std::string Ascii(const char16_t* text) {
    std::string result;
    for (; *text; ++text) result += char(*text);
    return result;
}

// "QuenloraKAe6KAe6" as 32 hexadecimal digits, the text form of the ID.
constexpr const char* kClassIDText = "5175656E6C6F72614B4165364B416536";

std::string Hex(const char* bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (int i = 0; i < 16; ++i) {
        const auto b = std::uint8_t(bytes[i]);
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

class Vst3Factory : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LoadedModule::Get().Loaded()) << HALVANE_VST3_MODULE;
        factory = LoadedModule::Get().Factory();
    }
    void TearDown() override {
        if (factory) factory->release();
    }
    vst3::IPluginFactory* factory = nullptr;
};

TEST_F(Vst3Factory, DescribesTheVendorAndOneClass) {
    vst3::PFactoryInfo info{};
    ASSERT_EQ(factory->getFactoryInfo(&info), vst3::kResultOk);
    EXPECT_STREQ(info.vendor, "Quenlor");
    EXPECT_EQ(info.flags, vst3::kUnicode);
    EXPECT_EQ(factory->countClasses(), 1);

    vst3::PClassInfo plain{};
    ASSERT_EQ(factory->getClassInfo(0, &plain), vst3::kResultOk);
    EXPECT_STREQ(plain.name, "Halvane");
    EXPECT_STREQ(plain.category, "Audio Module Class");
    EXPECT_EQ(plain.cardinality, 0x7FFFFFFF);
    EXPECT_NE(factory->getClassInfo(1, &plain), vst3::kResultOk);
}

TEST_F(Vst3Factory, AnswersTheExtendedAndUnicodeRecords) {
    vst3::IPluginFactory3* third = nullptr;
    ASSERT_EQ(factory->queryInterface(Iid<vst3::IPluginFactory3>(), reinterpret_cast<void**>(&third)),
              vst3::kResultOk);
    vst3::PClassInfo2 info2{};
    ASSERT_EQ(third->getClassInfo2(0, &info2), vst3::kResultOk);
    EXPECT_STREQ(info2.subCategories, "Fx|Modulation");
    EXPECT_STREQ(info2.version, "7.10");
    EXPECT_STREQ(info2.vendor, "");
    EXPECT_EQ(info2.classFlags, 0u);
    vst3::PClassInfoW infoW{};
    ASSERT_EQ(third->getClassInfoUnicode(0, &infoW), vst3::kResultOk);
    EXPECT_EQ(Ascii(infoW.name), "Halvane");
    EXPECT_EQ(Ascii(infoW.version), "7.10");
    EXPECT_STREQ(infoW.subCategories, "Fx|Modulation");
    EXPECT_EQ(std::memcmp(infoW.cid, info2.cid, 16), 0);
    third->release();
}

// Linux hosts read the sixteen bytes as four big-endian parts, so the bytes
// spell the ID's text form; Windows hosts read the COM order, in which the
// first part and the halves of the second are little-endian.
TEST_F(Vst3Factory, ClassIDReadsAsItsTextFormOnThisPlatform) {
    vst3::PClassInfo info{};
    factory->getClassInfo(0, &info);
    EXPECT_EQ(Hex(info.cid), kClassIDText);
    EXPECT_EQ(std::string(info.cid, 16), "QuenloraKAe6KAe6");
    const auto com = vst3::Uid::Make(0x5175656E, 0x6C6F7261, 0x4B416536, 0x4B416536, vst3::UidOrder::Com);
    EXPECT_EQ(Hex(reinterpret_cast<const char*>(com.bytes.data())), "6E6575516F6C61724B4165364B416536");
}

// Hosts that list classes from the bundle's description must find the
// class the factory creates.
TEST_F(Vst3Factory, BundleDescriptionAgreesWithTheFactory) {
    const auto contents = std::filesystem::path(HALVANE_VST3_MODULE).parent_path().parent_path();
    std::ifstream file(contents / "Resources" / "moduleinfo.json");
    ASSERT_TRUE(file.is_open());
    std::stringstream text;
    text << file.rdbuf();
    vst3::IPluginFactory2* second = nullptr;
    ASSERT_EQ(factory->queryInterface(Iid<vst3::IPluginFactory2>(), reinterpret_cast<void**>(&second)),
              vst3::kResultOk);
    vst3::PClassInfo2 info{};
    second->getClassInfo2(0, &info);
    second->release();
    const auto field = [](const std::string& name, const std::string& value) {
        return "\"" + name + "\": \"" + value + "\"";
    };
    for (const std::string& expected :
         {field("CID", Hex(info.cid)), field("Name", info.name), field("Version", info.version),
          field("SDKVersion", info.sdkVersion), field("Category", info.category),
          std::string("\"Sub Categories\": [\"Fx\", \"Modulation\"]")})
        EXPECT_NE(text.str().find(expected), std::string::npos) << expected;
}

TEST_F(Vst3Factory, IsOneObjectWhileHeld) {
    vst3::IPluginFactory* again = LoadedModule::Get().Factory();
    EXPECT_EQ(again, factory);
    again->release();
}

TEST_F(Vst3Factory, CreatesOnlyItsOwnClassWithTheRequestedInterface) {
    vst3::PClassInfo info{};
    factory->getClassInfo(0, &info);
    void* object = nullptr;
    ASSERT_EQ(factory->createInstance(info.cid, Iid<vst3::IAudioProcessor>(), &object), vst3::kResultOk);
    auto* processor = static_cast<vst3::IAudioProcessor*>(object);
    vst3::IComponent* component = nullptr;
    ASSERT_EQ(processor->queryInterface(Iid<vst3::IComponent>(), reinterpret_cast<void**>(&component)),
              vst3::kResultOk);
    vst3::IEditController* controller = nullptr;
    EXPECT_EQ(component->queryInterface(Iid<vst3::IEditController>(), reinterpret_cast<void**>(&controller)),
              vst3::kResultOk);
    void* unknownA = nullptr;
    void* unknownB = nullptr;
    processor->queryInterface(Iid<vst3::FUnknown>(), &unknownA);
    controller->queryInterface(Iid<vst3::FUnknown>(), &unknownB);
    EXPECT_EQ(unknownA, unknownB);
    void* none = &object;
    EXPECT_EQ(component->queryInterface(Iid<vst3::IPlugView>(), &none), vst3::kNoInterface);
    EXPECT_EQ(none, nullptr);
    for (void* held : {unknownA, unknownB}) static_cast<vst3::FUnknown*>(held)->release();
    controller->release();
    component->release();
    processor->release();

    char otherID[16] = {};
    object = &info;
    EXPECT_NE(factory->createInstance(otherID, Iid<vst3::IComponent>(), &object), vst3::kResultOk);
    EXPECT_EQ(object, nullptr);
}

}  // namespace
