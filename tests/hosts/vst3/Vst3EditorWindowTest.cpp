// The VST 3 editor view on a real X server (the test command starts Xvfb);
// skipped without one. The test's plug frame is also the host's run loop,
// which it drives by hand: the view's timer and display handler are all
// the editor gets to run.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "Vst3HostObjects.h"
#include "Vst3TestHost.h"
#include "hosts/common/KPluginCreation.h"
#include "hosts/vst3/abi/Vst3View.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"
#include "ui/editor/KHalvaneEditor.h"

// Xlib's macros (None, Bool, Status) clash with other headers: it comes last.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace vst3test {
namespace {

class PlugFrame final : public vst3::IPlugFrame, public vst3::Linux::IRunLoop {
public:
    vst3::tresult VST3_API queryInterface(const char* iid, void** obj) override {
        void* found = nullptr;
        if (vst3::IPlugFrame::iid.Matches(iid) || vst3::FUnknown::iid.Matches(iid))
            found = static_cast<vst3::IPlugFrame*>(this);
        else if (vst3::Linux::IRunLoop::iid.Matches(iid))
            found = static_cast<vst3::Linux::IRunLoop*>(this);
        *obj = found;
        if (found) ++references;
        return found ? vst3::kResultOk : vst3::kNoInterface;
    }
    vst3::uint32 VST3_API addRef() override { return ++references; }
    vst3::uint32 VST3_API release() override { return --references; }

    vst3::tresult VST3_API resizeView(vst3::IPlugView* view, vst3::ViewRect* rect) override {
        ++resizes;
        return view->onSize(rect);
    }
    vst3::tresult VST3_API registerEventHandler(vst3::Linux::IEventHandler* handler, int fd) override {
        events = handler;
        descriptor = fd;
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API unregisterEventHandler(vst3::Linux::IEventHandler* handler) override {
        if (handler == events) events = nullptr;
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API registerTimer(vst3::Linux::ITimerHandler* handler, vst3::uint64 ms) override {
        timer = handler;
        interval = ms;
        return vst3::kResultOk;
    }
    vst3::tresult VST3_API unregisterTimer(vst3::Linux::ITimerHandler* handler) override {
        if (handler == timer) timer = nullptr;
        return vst3::kResultOk;
    }

    // What a host's loop does: the display handler when its socket has
    // data, the timer on time.
    void Run(int rounds) {
        for (int i = 0; i < rounds; ++i) {
            if (events) events->onFDIsSet(descriptor);
            if (timer) timer->onTimer();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    int references = 1;
    int resizes = 0;
    vst3::Linux::IEventHandler* events = nullptr;
    vst3::Linux::ITimerHandler* timer = nullptr;
    int descriptor = -1;
    vst3::uint64 interval = 0;
};

struct Vst3EditorWindow : testing::Test {
    Display* display = nullptr;
    Window parent = 0;
    Instance plugin;
    ComponentHandler handler;
    PlugFrame frame;
    vst3::IPlugView* view = nullptr;

    void SetUp() override {
        const char* name = std::getenv("DISPLAY");
        if (!name || !*name) GTEST_SKIP() << "no X display (scripts/test-editor runs these under Xvfb)";
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1200, 900, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
        plugin.Start();
        plugin.controller->setComponentHandler(&handler);
        view = plugin.controller->createView("editor");
        ASSERT_NE(view, nullptr);
        view->setFrame(&frame);
    }
    void TearDown() override {
        if (!display) return;
        if (view) {
            view->setFrame(nullptr);
            view->release();
        }
        plugin.controller->setComponentHandler(nullptr);
        XDestroyWindow(display, parent);
        XCloseDisplay(display);
    }
    int Children() {
        Window root = 0, up = 0, *children = nullptr;
        unsigned count = 0;
        XQueryTree(display, parent, &root, &up, &children, &count);
        if (children) XFree(children);
        return int(count);
    }
};

TEST_F(Vst3EditorWindow, AttachesToTheRunLoopAndADragReachesTheHost) {
    vst3::ViewRect size{};
    ASSERT_EQ(view->getSize(&size), vst3::kResultOk);
    EXPECT_GT(size.right, 0);
    ASSERT_EQ(view->attached(reinterpret_cast<void*>(parent), "X11EmbedWindowID"), vst3::kResultOk);
    ASSERT_NE(frame.events, nullptr);
    ASSERT_NE(frame.timer, nullptr);
    EXPECT_GE(frame.descriptor, 0);
    frame.Run(3);
    EXPECT_EQ(Children(), 1);

    auto local = KCreatePluginObject();
    const int frequency = local->FindParameter(KString::FromUTF8("frequency0"));
    const double before = plugin.controller->getParamNormalized(vst3::ParamID(frequency));
    const KRect knob = *KHalvaneEditor(*local).ControlBounds(KString::FromUTF8("frequency0"));
    const int screen = DefaultScreen(display);
    XTestFakeMotionEvent(display, screen, int(knob.CenterX()), int(knob.CenterY()), 0);
    XTestFakeButtonEvent(display, 1, True, 0);
    XTestFakeMotionEvent(display, screen, int(knob.CenterX()), int(knob.CenterY()) - 40, 0);
    XTestFakeButtonEvent(display, 1, False, 0);
    XSync(display, False);
    frame.Run(10);

    // 40 pixels upwards of the 200 that span the range.
    EXPECT_NEAR(plugin.controller->getParamNormalized(vst3::ParamID(frequency)), before + 0.2, 0.01);
    std::lock_guard hold(handler.mutex);
    ASSERT_FALSE(handler.edits.empty());
    EXPECT_EQ(handler.edits.back().first, vst3::ParamID(frequency));
}

TEST_F(Vst3EditorWindow, SizesAreHeldAtTheMinimumAndRemovingLeavesNothing) {
    vst3::ViewRect tiny{0, 0, 10, 10};
    EXPECT_EQ(view->canResize(), vst3::kResultTrue);
    EXPECT_EQ(view->checkSizeConstraint(&tiny), vst3::kResultTrue);
    EXPECT_GT(tiny.right, 10);
    EXPECT_GT(tiny.bottom, 10);

    ASSERT_EQ(view->attached(reinterpret_cast<void*>(parent), "X11EmbedWindowID"), vst3::kResultOk);
    vst3::ViewRect large{0, 0, 1300, 950};
    EXPECT_EQ(view->onSize(&large), vst3::kResultOk);
    frame.Run(2);
    vst3::ViewRect now{};
    view->getSize(&now);
    EXPECT_EQ(now.right, 1300);
    EXPECT_EQ(now.bottom, 950);

    EXPECT_EQ(view->removed(), vst3::kResultOk);
    EXPECT_EQ(frame.events, nullptr);
    EXPECT_EQ(frame.timer, nullptr);
    EXPECT_EQ(frame.references, 1);
    XSync(display, False);
    EXPECT_EQ(Children(), 0);
}

}  // namespace
}  // namespace vst3test
