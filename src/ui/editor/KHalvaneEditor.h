#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ui/editor/KEditorModel.h"
#include "ui/editor/KEditorPresets.h"
#include "ui/editor/KEditorSlots.h"
#include "ui/layout/KLayoutControl.h"
#include "ui/widgets/KWidget.h"
#include "ui/window/KWindowClient.h"

class KAudioEffectPluginToAudioPluginAdapter;
class KXMLItem;

// The plug-in's editor: the controls of its description, laid out for the
// window's size, drawn, and driven by pointer and keys. It knows nothing of
// windows: whoever shows it (an X11 window, an image file) calls Paint and
// hands on the input.
class KHalvaneEditor final : public KWindowClient {
public:
    explicit KHalvaneEditor(KQuenlorAudioEffectPlugin& plugin);
    ~KHalvaneEditor();

    int DefaultWidth() const noexcept { return m_defaultWidth; }
    int DefaultHeight() const noexcept { return m_defaultHeight; }
    int MinimalWidth() const noexcept { return m_minimalWidth; }
    int MinimalHeight() const noexcept { return m_minimalHeight; }
    // Lays the controls out for a window of that size, held at the minimum.
    void SetSize(int width, int height);
    int Width() const noexcept { return m_width; }
    int Height() const noexcept { return m_height; }

    // Reads what every control shows from the plug-in; true when something
    // changed and the window needs a repaint.
    bool Refresh();
    // True once after input changed what the editor shows.
    bool TakeRepaintRequest() noexcept;
    // A key from the window or the host; true when the editor used it.
    bool Key(const KKeyEvent& event);
    bool IsEnteringText() const noexcept { return m_entry.has_value(); }

    // The window coordinates of a control by name, and the names of all
    // controls with a widget, for tests and tools.
    std::optional<KRect> ControlBounds(const KString& name) const;
    std::vector<KString> ControlNames() const;

    void OnPointer(const KPointerEvent& event) override;
    void OnKey(const KKeyEvent& event) override { Key(event); }
    void OnPaint(cairo_t* cairo) override;
    void OnResized(int width, int height) override { SetSize(width, height); }
    bool WantsKeys() const override { return IsEnteringText(); }

private:
    struct KTextEntry {
        const KLayoutControl* over;
        KString text;
        std::function<bool(const KString&)> commit;
        // The shown text is replaced by the first key, as a selected one is.
        bool untouched = true;
    };

    void Build(const KXMLItem& root);
    void BuildControls(const KXMLItem& item);
    void AddWidget(const KXMLItem& item, const KLayoutControl& place);
    KWidget* WidgetAt(double x, double y) const;
    void Press(const KPointerEvent& event);
    void StartTextEntry(const KLayoutControl& over, KString text, std::function<bool(const KString&)> commit);
    void FinishTextEntry(bool commit);
    void PaintTextEntry(KPainter& painter);

    KEditorModel m_model;
    KEditorSlots m_slots;
    KEditorPresets m_presets;
    std::unique_ptr<KLayoutControl> m_root;
    std::vector<std::unique_ptr<KWidget>> m_widgets;
    KWidget* m_captured = nullptr;
    std::optional<KTextEntry> m_entry;
    bool m_repaint = false;
    int m_defaultWidth = 0;
    int m_defaultHeight = 0;
    int m_minimalWidth = 0;
    int m_minimalHeight = 0;
    int m_width = 0;
    int m_height = 0;
};
