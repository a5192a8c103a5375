// The audio thread's block time with the editor closed, and with it open
// on another thread whose user keeps dragging the frequency knob: every
// pass moves the knob (setting the parameter and sending automation),
// refreshes every control and repaints the whole editor, at a host's idle
// rate. The two must stay within a few per cent of each other.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "hosts/common/KPluginCreation.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"
#include "ui/editor/KHalvaneEditor.h"

namespace {

constexpr int kBlock = 256;
constexpr int kChannels = 2;
// A host's editor idle rate of about 60 per second.
constexpr auto kIdleInterval = std::chrono::milliseconds(16);

struct Block {
    std::vector<float> data[kChannels];
    float* pointers[kChannels];
    Block() {
        for (int c = 0; c < kChannels; ++c) {
            data[c].assign(kBlock, 0.25f);
            pointers[c] = data[c].data();
        }
    }
};

std::unique_ptr<KQuenlorAudioEffectPlugin> MakePlugin() {
    auto plugin = KCreatePluginObject();
    plugin->SetSampleRate(48000);
    plugin->SetMaxBlockSize(kBlock);
    plugin->InitProcessing();
    return plugin;
}

void ProcessBlocks(benchmark::State& state, KQuenlorAudioEffectPlugin& plugin) {
    Block in, out;
    for (auto _ : state) {
        plugin.ProcessBlock(in.pointers, out.pointers, kBlock, true);
        benchmark::DoNotOptimize(out.data[0].data());
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}

// The user's side: the knob goes up and down by drags, the editor refreshes
// and paints off screen as its window would.
void DragAndPaint(KHalvaneEditor& editor, const std::atomic<bool>& stop) {
    const KRect knob = *editor.ControlBounds(KString::FromUTF8("frequency0"));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, editor.Width(), editor.Height());
    KPointerEvent event;
    event.x = int(knob.CenterX());
    event.y = int(knob.CenterY());
    event.kind = KPointerEvent::Kind::Press;
    event.button = KPointerEvent::kLeftButton;
    editor.OnPointer(event);
    event.kind = KPointerEvent::Kind::Move;
    for (int step = 0; !stop.load(); ++step) {
        event.y = int(knob.CenterY()) - (step % 100 < 50 ? step % 50 : 50 - step % 50);
        editor.OnPointer(event);
        editor.Refresh();
        cairo_t* cairo = cairo_create(surface);
        editor.OnPaint(cairo);
        cairo_destroy(cairo);
        std::this_thread::sleep_for(kIdleInterval);
    }
    event.kind = KPointerEvent::Kind::Release;
    editor.OnPointer(event);
    cairo_surface_destroy(surface);
}

void BM_BlockEditorClosed(benchmark::State& state) {
    auto plugin = MakePlugin();
    ProcessBlocks(state, *plugin);
}
BENCHMARK(BM_BlockEditorClosed)->MinTime(2.0);

void BM_BlockEditorOpenAndDragged(benchmark::State& state) {
    auto plugin = MakePlugin();
    KHalvaneEditor editor(*plugin);
    plugin->SetEditorNotifications(true);
    std::atomic<bool> stop{false};
    std::thread user([&] { DragAndPaint(editor, stop); });
    ProcessBlocks(state, *plugin);
    stop = true;
    user.join();
    plugin->SetEditorNotifications(false);
}
BENCHMARK(BM_BlockEditorOpenAndDragged)->MinTime(2.0);

// Opening the editor: its controls are built and each finds its parameter
// by identifier.
void BM_EditorOpen(benchmark::State& state) {
    auto plugin = MakePlugin();
    for (auto _ : state) {
        KHalvaneEditor editor(*plugin);
        benchmark::DoNotOptimize(editor.Width());
    }
}
BENCHMARK(BM_EditorOpen)->Unit(benchmark::kMillisecond);

}  // namespace
