#include <gtest/gtest.h>

#include <barrier>
#include <thread>

#include "hosts/common/KLibrary.h"
#include "hosts/common/KModule.h"
#include "hosts/common/KModuleInstance.h"

namespace {

// Every test starts and ends without live instances, so without a module.
struct ModuleLifecycle : ::testing::Test {
    void SetUp() override { ASSERT_EQ(KCurrentModuleInstance(), nullptr); }
};

TEST_F(ModuleLifecycle, LastInstanceOfAFormatDestroysTheModuleAndTheNextCreationMakesANewOne) {
    for (KPluginFormat format : {KPluginFormat::Vst2, KPluginFormat::Vst3}) {
        KStartLibrarySubsystems();
        KPluginInstanceCreated(format);
        KModule* module = KCurrentModuleInstance();
        ASSERT_NE(module, nullptr);
        KStartLibrarySubsystems();
        KPluginInstanceCreated(format);
        EXPECT_EQ(KCurrentModuleInstance(), module);  // a second instance shares it

        KPluginInstanceDestroyed(format);
        EXPECT_EQ(KCurrentModuleInstance(), module);
        KPluginInstanceDestroyed(format);
        EXPECT_EQ(KCurrentModuleInstance(), nullptr);

        KStartLibrarySubsystems();
        KPluginInstanceCreated(format);
        EXPECT_NE(KCurrentModuleInstance(), nullptr);
        KPluginInstanceDestroyed(format);
        EXPECT_EQ(KCurrentModuleInstance(), nullptr);
    }
}

// The two formats count apart: closing the last instance of one takes the
// module away even while the other has instances; they get a new one with
// their next creation.
TEST_F(ModuleLifecycle, FormatsCountApart) {
    KStartLibrarySubsystems();
    KPluginInstanceCreated(KPluginFormat::Vst2);
    KStartLibrarySubsystems();
    KPluginInstanceCreated(KPluginFormat::Vst3);
    KPluginInstanceDestroyed(KPluginFormat::Vst3);
    EXPECT_EQ(KCurrentModuleInstance(), nullptr);

    KPluginInstanceCreated(KPluginFormat::Vst2);
    EXPECT_NE(KCurrentModuleInstance(), nullptr);
    KPluginInstanceDestroyed(KPluginFormat::Vst2);
    EXPECT_NE(KCurrentModuleInstance(), nullptr);  // one VST 2.4 instance is still open
    KPluginInstanceDestroyed(KPluginFormat::Vst2);
    EXPECT_EQ(KCurrentModuleInstance(), nullptr);
}

TEST_F(ModuleLifecycle, ModuleNamesItselfAndItsFile) {
    KStartLibrarySubsystems();
    KPluginInstanceCreated(KPluginFormat::Vst3);
    KModule* module = KCurrentModuleInstance();
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module->Name().ToUTF8(), "Quenlor Halvane");
    EXPECT_NE(module->InstanceHandle(), nullptr);
    // Linked into this test program, the module's file is the program.
    const std::string path = module->LibraryPath().ToUTF8();
    EXPECT_EQ(path.substr(path.find_last_of('/') + 1), "test_hosts");
    EXPECT_EQ(module->LibraryFolder().ToUTF8() + "/test_hosts", path);
    EXPECT_NE(KFirstModuleInstance(), nullptr);
    KPluginInstanceDestroyed(KPluginFormat::Vst3);
}

// Hosts create instances from any thread; two at the same moment must end
// up with one module between them. Many rounds make the overlap likely.
TEST_F(ModuleLifecycle, InstancesCreatedTogetherShareOneModule) {
    constexpr int kRounds = 200;
    for (int round = 0; round < kRounds; ++round) {
        std::barrier start(2);
        KModule* seen[2] = {};
        auto createInstance = [&](int thread) {
            start.arrive_and_wait();
            KStartLibrarySubsystems();
            KPluginInstanceCreated(thread == 0 ? KPluginFormat::Vst2 : KPluginFormat::Vst3);
            seen[thread] = KCurrentModuleInstance();
        };
        std::thread first(createInstance, 0);
        std::thread second(createInstance, 1);
        first.join();
        second.join();
        ASSERT_NE(seen[0], nullptr);
        ASSERT_EQ(seen[0], seen[1]) << "round " << round;
        ASSERT_EQ(KCurrentModuleInstance(), seen[0]) << "round " << round;  // none was replaced
        KPluginInstanceDestroyed(KPluginFormat::Vst2);
        KPluginInstanceDestroyed(KPluginFormat::Vst3);
    }
}

}  // namespace
