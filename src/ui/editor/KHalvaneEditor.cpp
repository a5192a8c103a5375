#include "ui/editor/KHalvaneEditor.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "foundation/streams/KMemoryStream.h"
#include "foundation/xml/KXMLDocument.h"
#include "foundation/xml/KXMLItem.h"
#include "ui/editor/KEditorDescription.h"
#include "ui/editor/KEditorWidgets.h"
#include "ui/layout/KLayoutDescription.h"
#include "ui/widgets/KPainter.h"
#include "ui/widgets/KValueSource.h"

namespace {
constexpr double kEntryHeight = 24;
}

KHalvaneEditor::KHalvaneEditor(KAudioEffectPluginToAudioPluginAdapter& plugin)
    : m_model(plugin), m_slots(m_model), m_presets(m_model) {
    KMemoryStream stream(kHalvaneEditorDescription, int(std::strlen(kHalvaneEditorDescription)));
    KXMLDocument document;
    document.Parse(stream);
    Build(document.Root());
}

KHalvaneEditor::~KHalvaneEditor() = default;

void KHalvaneEditor::Build(const KXMLItem& root) {
    m_root = KLayoutDescription::Load(root);
    m_root->ComputeMinimalClientSize(m_minimalWidth, m_minimalHeight);
    m_defaultWidth = std::max(m_root->Size(KAxis::Horizontal), m_minimalWidth);
    m_defaultHeight = std::max(m_root->Size(KAxis::Vertical), m_minimalHeight);
    SetSize(m_defaultWidth, m_defaultHeight);
    // Widgets are made in document order, so a panel is drawn before the
    // controls on it.
    AddWidget(root, *m_root);
    BuildControls(root);
}

void KHalvaneEditor::BuildControls(const KXMLItem& item) {
    for (KXMLItem::Iterator layouts(item, "layout"); const KXMLItem* layout = layouts.Next();)
        for (KXMLItem::Iterator controls(*layout, "control"); const KXMLItem* control = controls.Next();) {
            if (const KLayoutControl* place = m_root->FindDescendant(control->Attribute("name", KString())))
                AddWidget(*control, *place);
            BuildControls(*control);
        }
}

void KHalvaneEditor::AddWidget(const KXMLItem& item, const KLayoutControl& place) {
    KEditorWidgetContext context{m_model, m_slots, m_presets,
                                 [this](const KLayoutControl& over, KString text, auto commit) {
                                     StartTextEntry(over, std::move(text), std::move(commit));
                                 }};
    if (auto widget = MakeEditorWidget(item, place, context)) m_widgets.push_back(std::move(widget));
}

void KHalvaneEditor::SetSize(int width, int height) {
    m_width = std::max(width, m_minimalWidth);
    m_height = std::max(height, m_minimalHeight);
    m_root->Resize(m_width, m_height);
    m_root->Arrange();
    m_repaint = true;
}

std::optional<KRect> KHalvaneEditor::ControlBounds(const KString& name) const {
    for (const auto& widget : m_widgets)
        if (widget->Place().Name() == name) return widget->Bounds();
    return std::nullopt;
}

std::vector<KString> KHalvaneEditor::ControlNames() const {
    std::vector<KString> names;
    for (const auto& widget : m_widgets) names.push_back(widget->Place().Name());
    return names;
}

bool KHalvaneEditor::Refresh() {
    bool changed = false;
    for (const auto& widget : m_widgets) changed = widget->Refresh() || changed;
    return changed || TakeRepaintRequest();
}

bool KHalvaneEditor::TakeRepaintRequest() noexcept { return std::exchange(m_repaint, false); }

KWidget* KHalvaneEditor::WidgetAt(double x, double y) const {
    for (auto it = m_widgets.rbegin(); it != m_widgets.rend(); ++it)
        if ((*it)->TakesPointer() && (*it)->Bounds().Contains(x, y)) return it->get();
    return nullptr;
}

void KHalvaneEditor::OnPointer(const KPointerEvent& event) {
    switch (event.kind) {
        case KPointerEvent::Kind::Press: Press(event); break;
        case KPointerEvent::Kind::Move:
            if (m_captured) m_captured->Drag(event);
            break;
        case KPointerEvent::Kind::Release:
            if (m_captured) m_captured->Release(event);
            m_captured = nullptr;
            break;
        case KPointerEvent::Kind::Wheel:
            if (KWidget* widget = WidgetAt(event.x, event.y)) widget->Wheel(event);
            break;
    }
    m_repaint = true;
}

void KHalvaneEditor::Press(const KPointerEvent& event) {
    // A click elsewhere takes what was typed, as leaving a text box does.
    if (m_entry) FinishTextEntry(true);
    KWidget* widget = WidgetAt(event.x, event.y);
    if (!widget) return;
    KValueSource* target = widget->TextTarget();
    if (event.button == KPointerEvent::kRightButton && target) {
        StartTextEntry(widget->Place(), target->Text(), [target](const KString& text) { return target->SetText(text); });
        return;
    }
    m_captured = widget;
    widget->Press(event);
}

void KHalvaneEditor::StartTextEntry(const KLayoutControl& over, KString text,
                                    std::function<bool(const KString&)> commit) {
    m_entry = KTextEntry{&over, std::move(text), std::move(commit), true};
    m_repaint = true;
}

void KHalvaneEditor::FinishTextEntry(bool commit) {
    std::optional<KTextEntry> entry = std::move(m_entry);
    m_entry.reset();
    m_repaint = true;
    if (commit && !entry->commit(entry->text)) m_entry = std::move(entry);
}

bool KHalvaneEditor::Key(const KKeyEvent& event) {
    if (!m_entry) return false;
    m_repaint = true;
    if (event.code == KKeyEvent::kBackspace || event.character != 0) {
        if (std::exchange(m_entry->untouched, false)) m_entry->text = KString();
    }
    if (event.code == KKeyEvent::kReturn) {
        FinishTextEntry(true);
    } else if (event.code == KKeyEvent::kEscape) {
        FinishTextEntry(false);
    } else if (event.code == KKeyEvent::kBackspace) {
        std::u16string units = m_entry->text.ToUTF16();
        if (!units.empty()) units.pop_back();
        m_entry->text = KString::FromUTF16(units);
    } else if (event.character >= 32 && event.character < 0x10000) {
        m_entry->text = KString::FromUTF16(m_entry->text.ToUTF16() + char16_t(event.character));
    } else {
        return false;
    }
    return true;
}

void KHalvaneEditor::OnPaint(cairo_t* cairo) {
    KPainter painter(cairo);
    for (const auto& widget : m_widgets) {
        widget->Refresh();
        widget->Paint(painter);
    }
    if (m_entry) PaintTextEntry(painter);
}

void KHalvaneEditor::PaintTextEntry(KPainter& painter) {
    KRect over{};
    for (const auto& widget : m_widgets)
        if (&widget->Place() == m_entry->over) over = widget->Bounds();
    const double width = std::max(over.width, 120.0);
    const KRect box{over.CenterX() - width / 2, over.y + over.height - kEntryHeight, width, kEntryHeight};
    painter.FillRounded(box, 4, KPalette::kHeader);
    painter.StrokeRounded(box, 4, KPalette::kAccent, 1.5);
    // A caret after the text.
    painter.Text(KString::FromUTF16(m_entry->text.ToUTF16() + u"\u2502"), box.Inset(6, 0), 12, KPalette::kText,
                 KPainter::Align::Left);
}
