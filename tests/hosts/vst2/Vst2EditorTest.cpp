// The editor side over a fake editor window, and the key translation.
#include <gtest/gtest.h>

#include "Vst2TestHost.h"
#include "hosts/vst2/KAudioPluginVSTAdapter.h"
#include "hosts/vst2/abi/VstEditor.h"

namespace Vst2Test {
namespace {

using Vst2::KAudioPluginVSTAdapter;
using Vst2::KEditorWindow;

struct FakeWindow : KEditorWindow {
    bool exists = false;
    bool canCreate = true;
    bool shown = false;
    void* parent = nullptr;
    int width = 300, height = 200;
    int modifiers = 0;
    int setUps = 0, idles = 0;
    bool usesKeys = true;
    std::vector<std::pair<int, int>> keys;  // (kind, code)

    bool Exists() const override { return exists; }
    bool Create() override {
        if (exists || !canCreate) return false;
        return exists = true;
    }
    void CompleteSetUp() override { ++setUps; }
    KAudioPluginAdapter::EditorSize Size() override { return {width, height}; }
    void Attach(void* p) override { parent = p; }
    void Detach() override { parent = nullptr; }
    void SetShown(bool on) override { shown = on; }
    bool IsShown() const override { return shown; }
    void Idle() override { ++idles; }
    bool SendKey(KeyEventKind kind, int code) override {
        keys.emplace_back(kind, code);
        return usesKeys;
    }
    int Modifiers() const override { return modifiers; }
};

struct Vst2EditorSide : testing::Test {
    TestHost host;
    FakeWindow* window = nullptr;
    KAudioPluginVSTAdapter* adapter = nullptr;

    void SetUp() override {
        auto fake = std::make_unique<FakeWindow>();
        window = fake.get();
        host.Adopt([&](audioMasterCallback callback) {
            adapter = new KAudioPluginVSTAdapter(callback, KHostedPlugin::Create(), std::move(fake));
            return adapter->getAeffect();
        });
    }
    ERect* Rect() {
        ERect* rect = nullptr;
        return host.Dispatch(effEditGetRect, 0, 0, &rect) ? rect : nullptr;
    }
};

TEST(Vst2Editor, WithoutAnEditorWindowNoEditorIsDeclared) {
    TestHost host;
    host.Adopt([](audioMasterCallback callback) {
        return (new KAudioPluginVSTAdapter(callback, KHostedPlugin::Create()))->getAeffect();
    });
    EXPECT_EQ(host.Effect()->flags & effFlagsHasEditor, 0);
    ERect* rect = nullptr;
    EXPECT_EQ(host.Dispatch(effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(host.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(0x1234)), 0);
    EXPECT_EQ(rect, nullptr);
}

TEST_F(Vst2EditorSide, RectangleOpenIdleClose) {
    EXPECT_NE(host.Effect()->flags & effFlagsHasEditor, 0);
    ERect* rect = Rect();
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(window->setUps, 1);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 200);
    EXPECT_EQ(rect->right, 300);

    window->width = 4;  // below 5 pixels: reported as 0
    window->height = 5;
    rect = Rect();
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right, 0);
    EXPECT_EQ(rect->bottom, 5);

    void* parent = reinterpret_cast<void*>(0x5150);
    EXPECT_EQ(host.Dispatch(effEditOpen, 0, 0, parent), 1);
    EXPECT_EQ(window->parent, parent);
    EXPECT_TRUE(window->shown);
    EXPECT_EQ(window->setUps, 1) << "made once";
    host.Dispatch(effEditIdle);
    EXPECT_EQ(window->idles, 1);
    host.Dispatch(effEditClose);
    EXPECT_FALSE(window->shown);
    EXPECT_EQ(window->parent, nullptr);
}

TEST_F(Vst2EditorSide, AnEditorThatCannotBeMadeAnswersFalse) {
    window->canCreate = false;
    EXPECT_EQ(Rect(), nullptr);
    EXPECT_EQ(host.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(1)), 0);
    EXPECT_FALSE(window->shown);
}

TEST_F(Vst2EditorSide, SizeChangesGoThroughTheHost) {
    EXPECT_FALSE(adapter->ChangeEditorSize({640, 480})) << "not shown";
    host.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(1));
    host.SetSizeWindowAnswer(1);
    EXPECT_TRUE(adapter->ChangeEditorSize({640, 480}));
    const auto asked = host.CallsOf(audioMasterSizeWindow);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].index, 640);
    EXPECT_EQ(asked[0].value, 480);
    host.SetSizeWindowAnswer(0);
    EXPECT_FALSE(adapter->ChangeEditorSize({800, 600}));
}

TEST_F(Vst2EditorSide, KeysBecomeKeyAndCharacterEvents) {
    using Keys = std::vector<std::pair<int, int>>;
    // A letter going down: the character, then the key as upper case.
    EXPECT_EQ(host.Dispatch(effEditKeyDown, 'a', 0), 1);
    EXPECT_EQ(window->keys, (Keys{{15, 'a'}, {13, 'A'}}));
    window->keys.clear();
    // Going up: only the key.
    EXPECT_EQ(host.Dispatch(effEditKeyUp, 'a', 0), 1);
    EXPECT_EQ(window->keys, (Keys{{14, 'A'}}));
    window->keys.clear();
    // Shift turns 2 into '@' and the key event follows the character.
    window->modifiers = KEditorWindow::kShiftModifier;
    host.Dispatch(effEditKeyDown, '2', 0);
    EXPECT_EQ(window->keys, (Keys{{15, '@'}}));
    window->keys.clear();
    window->modifiers = 0;
    // Virtual keys: left arrow is key code 37; space goes on as a character.
    host.Dispatch(effEditKeyDown, 0, VKEY_LEFT);
    host.Dispatch(effEditKeyDown, 0, VKEY_SPACE);
    EXPECT_EQ(window->keys, (Keys{{13, 37}, {15, 32}}));
    window->keys.clear();
    // Unknown virtual keys reach nothing; unused keys answer 0.
    EXPECT_EQ(host.Dispatch(effEditKeyDown, 0, 40), 0);
    EXPECT_TRUE(window->keys.empty());
    window->usesKeys = false;
    EXPECT_EQ(host.Dispatch(effEditKeyDown, 'x', 0), 0);
}

}  // namespace
}  // namespace Vst2Test
