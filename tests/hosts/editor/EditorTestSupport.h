#pragma once
// An editor over a real plug-in object and a host adapter that records
// what the editor tells the host, driven by pointer events as a window
// would deliver them.
#include <cairo.h>

#include <memory>
#include <vector>

#include "hosts/common/KPluginCreation.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"
#include "ui/editor/KHalvaneEditor.h"

namespace EditorTest {

struct RecordingHost : KAudioPluginAdapter {
    struct Call {
        enum Kind { Begin, Automate, End } kind;
        int index;
        double value;
    };
    std::vector<Call> calls;

    void SendAutomation(std::int32_t index, double value) override { calls.push_back({Call::Automate, index, value}); }
    void SendBypassAutomation(bool) override {}
    void GenerateMIDIEvent(std::int32_t, const std::uint8_t*) override {}
    void ReportLatency() override {}
    bool ChangeEditorSize(EditorSize) override { return false; }
    void BeginEdit(std::int32_t index) override { calls.push_back({Call::Begin, index, 0}); }
    void EndEdit(std::int32_t index) override { calls.push_back({Call::End, index, 0}); }
};

struct EditorFixture {
    std::unique_ptr<KQuenlorAudioEffectPlugin> plugin = KCreatePluginObject();
    RecordingHost host;
    std::unique_ptr<KHalvaneEditor> editor;

    EditorFixture() {
        plugin->SetHostAdapter(&host);
        plugin->InitProcessing();
        editor = std::make_unique<KHalvaneEditor>(*plugin);
    }
    ~EditorFixture() {
        editor.reset();
        plugin->SetHostAdapter(nullptr);
    }

    int Index(const char* id) const { return plugin->FindParameter(KString::FromUTF8(id)); }
    KRect Bounds(const char* control) const { return *editor->ControlBounds(KString::FromUTF8(control)); }

    void Pointer(KPointerEvent::Kind kind, double x, double y, int button = KPointerEvent::kLeftButton,
                 bool shift = false, int clicks = 1) {
        KPointerEvent event;
        event.kind = kind;
        event.x = int(x);
        event.y = int(y);
        event.button = button;
        event.shift = shift;
        event.clicks = clicks;
        editor->OnPointer(event);
    }
    // A press at (x, y), a move by dy pixels (negative: upwards), a release.
    void DragBy(const KRect& at, double dy, bool shift = false) {
        Pointer(KPointerEvent::Kind::Press, at.CenterX(), at.CenterY(), KPointerEvent::kLeftButton, shift);
        Pointer(KPointerEvent::Kind::Move, at.CenterX(), at.CenterY() + dy, 0, shift);
        Pointer(KPointerEvent::Kind::Release, at.CenterX(), at.CenterY() + dy, KPointerEvent::kLeftButton, shift);
    }
    void Type(const char* text) {
        for (const char* c = text; *c; ++c) editor->Key(KKeyEvent{0, char32_t(*c)});
    }

    // The editor drawn into memory; pixels as 32-bit ARGB.
    std::vector<std::uint32_t> Picture() {
        cairo_surface_t* surface =
            cairo_image_surface_create(CAIRO_FORMAT_ARGB32, editor->Width(), editor->Height());
        cairo_t* cairo = cairo_create(surface);
        editor->OnPaint(cairo);
        cairo_destroy(cairo);
        cairo_surface_flush(surface);
        const int stride = cairo_image_surface_get_stride(surface) / 4;
        const auto* data = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface));
        std::vector<std::uint32_t> pixels(data, data + std::size_t(stride) * std::size_t(editor->Height()));
        cairo_surface_destroy(surface);
        m_stride = stride;
        return pixels;
    }
    // True when the two pictures differ inside `rect`.
    bool Differs(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b, const KRect& rect) const {
        for (int y = int(rect.y); y < int(rect.y + rect.height); ++y)
            for (int x = int(rect.x); x < int(rect.x + rect.width); ++x)
                if (a[std::size_t(y * m_stride + x)] != b[std::size_t(y * m_stride + x)]) return true;
        return false;
    }

private:
    int m_stride = 0;
};

}  // namespace EditorTest
