// The editor window of the built module inside a parent window made here,
// on a real X server (the test command starts Xvfb); skipped without one.
// Pointer input comes through the XTEST extension, as from a user.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "Vst2TestHost.h"
#include "hosts/common/KPluginCreation.h"
#include "hosts/vst2/abi/VstEditor.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"
#include "ui/editor/KHalvaneEditor.h"

// Xlib's macros (None, Bool, Status) clash with other headers: it comes last.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/XTest.h>

namespace Vst2Test {
namespace {

struct Vst2EditorWindow : testing::Test {
    Display* display = nullptr;
    Window parent = 0;
    TestHost host;

    void SetUp() override {
        const char* name = std::getenv("DISPLAY");
        if (!name || !*name) GTEST_SKIP() << "no X display (scripts/test-editor runs these under Xvfb)";
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1200, 900, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
        ASSERT_NE(host.LoadFromModule(), nullptr);
        host.Start(44100, 256);
    }
    void TearDown() override {
        if (!display) return;
        host.Close();
        XDestroyWindow(display, parent);
        XCloseDisplay(display);
    }

    bool Open() { return host.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(parent)) != 0; }
    void Idle(int times = 3) {
        for (int i = 0; i < times; ++i) {
            host.Dispatch(effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    int Children() {
        Window root = 0, up = 0, *children = nullptr;
        unsigned count = 0;
        XQueryTree(display, parent, &root, &up, &children, &count);
        if (children) XFree(children);
        return int(count);
    }
    int ServerClients() {
        int count = 0;
        XResClient* clients = nullptr;
        XResQueryClients(display, &count, &clients);
        if (clients) XFree(clients);
        return count;
    }
    // Where a control of the editor is, from the same description laid out
    // at the same size.
    static KRect ControlAt(const char* name) {
        auto plugin = KCreatePluginObject();
        KHalvaneEditor editor(*plugin);
        return *editor.ControlBounds(KString::FromUTF8(name));
    }
    void FakeDrag(const KRect& at, int dy) {
        const int screen = DefaultScreen(display);
        XTestFakeMotionEvent(display, screen, int(at.CenterX()), int(at.CenterY()), 0);
        XTestFakeButtonEvent(display, 1, True, 0);
        XTestFakeMotionEvent(display, screen, int(at.CenterX()), int(at.CenterY()) + dy / 2, 0);
        XTestFakeMotionEvent(display, screen, int(at.CenterX()), int(at.CenterY()) + dy, 0);
        XTestFakeButtonEvent(display, 1, False, 0);
        XSync(display, False);
    }
    XImage* Grab(const KRect& rect) {
        Window child = 0;
        Window root = 0, up = 0, *children = nullptr;
        unsigned count = 0;
        XQueryTree(display, parent, &root, &up, &children, &count);
        if (count > 0) child = children[0];
        if (children) XFree(children);
        return XGetImage(display, child, int(rect.x), int(rect.y), unsigned(rect.width), unsigned(rect.height),
                         AllPlanes, ZPixmap);
    }
    static bool Same(XImage* a, XImage* b) {
        for (int y = 0; y < a->height; ++y)
            for (int x = 0; x < a->width; ++x)
                if (XGetPixel(a, x, y) != XGetPixel(b, x, y)) return false;
        return true;
    }
};

TEST_F(Vst2EditorWindow, OpensInsideTheHostsWindowAtItsSize) {
    EXPECT_TRUE(host.Effect()->flags & effFlagsHasEditor);
    ERect* rect = nullptr;
    ASSERT_TRUE(host.Dispatch(effEditGetRect, 0, 0, &rect));
    ASSERT_TRUE(Open());
    Idle();
    ASSERT_EQ(Children(), 1);
    Window root = 0, child = 0, up = 0, *children = nullptr;
    unsigned count = 0;
    XQueryTree(display, parent, &root, &up, &children, &count);
    child = children[0];
    XFree(children);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, child, &attributes);
    EXPECT_EQ(attributes.width, rect->right - rect->left);
    EXPECT_EQ(attributes.height, rect->bottom - rect->top);
    EXPECT_EQ(attributes.map_state, IsViewable);
    host.Dispatch(effEditClose);
    EXPECT_EQ(Children(), 0);
}

TEST_F(Vst2EditorWindow, DraggingTheFrequencyKnobChangesItAndTheHostGetsTheAutomation) {
    const auto plugin = KCreatePluginObject();
    const int frequency = plugin->FindParameter(KString::FromUTF8("frequency0"));
    const float before = host.Effect()->getParameter(host.Effect(), frequency);
    ASSERT_TRUE(Open());
    Idle();
    FakeDrag(ControlAt("frequency0"), -40);
    for (int i = 0; i < 100 && host.CallsOf(audioMasterEndEdit).empty(); ++i) Idle(1);

    // 40 pixels upwards of the 200 that span the range.
    const float after = host.Effect()->getParameter(host.Effect(), frequency);
    EXPECT_NEAR(after, before + 0.2f, 0.01f);
    const auto automation = host.CallsOf(audioMasterAutomate);
    ASSERT_FALSE(automation.empty());
    EXPECT_EQ(automation.back().index, frequency);
    EXPECT_FLOAT_EQ(automation.back().opt, after);
    ASSERT_EQ(host.CallsOf(audioMasterBeginEdit).size(), 1u);
    EXPECT_EQ(host.CallsOf(audioMasterBeginEdit)[0].index, frequency);
    EXPECT_EQ(host.CallsOf(audioMasterEndEdit).size(), 1u);
    host.Dispatch(effEditClose);
}

TEST_F(Vst2EditorWindow, TheWheelNudgesAndADoubleClickRestoresTheDefault) {
    const auto plugin = KCreatePluginObject();
    const int frequency = plugin->FindParameter(KString::FromUTF8("frequency0"));
    const float before = host.Effect()->getParameter(host.Effect(), frequency);
    ASSERT_TRUE(Open());
    Idle();
    const KRect knob = ControlAt("frequency0");
    XTestFakeMotionEvent(display, DefaultScreen(display), int(knob.CenterX()), int(knob.CenterY()), 0);
    // Button 4 is the wheel turned away from the user: two steps of 0.01.
    for (int step = 0; step < 2; ++step) {
        XTestFakeButtonEvent(display, 4, True, 0);
        XTestFakeButtonEvent(display, 4, False, 0);
    }
    XSync(display, False);
    Idle(5);
    EXPECT_NEAR(host.Effect()->getParameter(host.Effect(), frequency), before + 0.02f, 1e-3f);

    for (int click = 0; click < 2; ++click) {
        XTestFakeButtonEvent(display, 1, True, 0);
        XTestFakeButtonEvent(display, 1, False, 0);
    }
    XSync(display, False);
    Idle(5);
    EXPECT_FLOAT_EQ(host.Effect()->getParameter(host.Effect(), frequency), float(plugin->GetParameterDefaultValue(frequency)));
    host.Dispatch(effEditClose);
}

TEST_F(Vst2EditorWindow, TextTypedIntoTheWindowGoesThroughTheParser) {
    const auto plugin = KCreatePluginObject();
    const int frequency = plugin->FindParameter(KString::FromUTF8("frequency0"));
    ASSERT_TRUE(Open());
    Idle();
    const KRect knob = ControlAt("frequency0");
    XTestFakeMotionEvent(display, DefaultScreen(display), int(knob.CenterX()), int(knob.CenterY()), 0);
    XTestFakeButtonEvent(display, 3, True, 0);
    XTestFakeButtonEvent(display, 3, False, 0);
    XSync(display, False);
    Idle(3);
    for (const char* key : {"4", "4", "0", "Return"}) {
        const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(key));
        XTestFakeKeyEvent(display, code, True, 0);
        XTestFakeKeyEvent(display, code, False, 0);
    }
    XSync(display, False);
    for (int i = 0; i < 50 && host.CallsOf(audioMasterEndEdit).empty(); ++i) Idle(1);
    EXPECT_FLOAT_EQ(host.Effect()->getParameter(host.Effect(), frequency),
                    float(plugin->ParseParameterValueName(frequency, KString::FromUTF8("440 Hz"))));
    host.Dispatch(effEditClose);
}

TEST_F(Vst2EditorWindow, AHostSideChangeIsOnScreenAfterTheNextIdle) {
    const auto plugin = KCreatePluginObject();
    const int frequency = plugin->FindParameter(KString::FromUTF8("frequency0"));
    ASSERT_TRUE(Open());
    Idle();
    const KRect knob = ControlAt("frequency0");
    XImage* before = Grab(knob);
    host.Effect()->setParameter(host.Effect(), frequency, 0.95f);
    Idle(1);
    XImage* after = Grab(knob);
    ASSERT_TRUE(before && after);
    EXPECT_FALSE(Same(before, after));
    XDestroyImage(before);
    XDestroyImage(after);
    host.Dispatch(effEditClose);
}

TEST_F(Vst2EditorWindow, OpeningAndClosingAHundredTimesLeavesNothingBehind) {
    // The first opening loads what stays for the process (fonts, say).
    ASSERT_TRUE(Open());
    Idle(1);
    host.Dispatch(effEditClose);
    const int clients = ServerClients();
    const auto descriptors = std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(Open());
        Idle(1);
        host.Dispatch(effEditClose);
    }
    XSync(display, False);
    EXPECT_EQ(Children(), 0);
    EXPECT_EQ(ServerClients(), clients);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}), descriptors);
}

TEST_F(Vst2EditorWindow, AHostThatDestroysItsWindowBeforeClosingTheEditorIsSurvived) {
    ASSERT_TRUE(Open());
    Idle(1);
    XDestroyWindow(display, parent);
    XSync(display, False);
    Idle(2);
    host.Dispatch(effEditClose);
    // A new parent for the fixture to take down.
    parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 100, 100, 0, 0, 0);
    XSync(display, False);
    EXPECT_TRUE(Open());
    host.Dispatch(effEditClose);
}

TEST_F(Vst2EditorWindow, AParentWindowThatIsGoneIsRefusedWithoutHarm) {
    Window gone = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    XDestroyWindow(display, gone);
    XSync(display, False);
    EXPECT_EQ(host.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(gone)), 0);
    // The editor still opens into a real window afterwards.
    EXPECT_TRUE(Open());
    Idle(1);
    EXPECT_EQ(Children(), 1);
    host.Dispatch(effEditClose);
}

}  // namespace
}  // namespace Vst2Test
