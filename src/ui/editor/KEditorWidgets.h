#pragma once
#include <functional>
#include <memory>

#include "ui/widgets/KWidget.h"

class KEditorModel;
class KEditorPresets;
class KEditorSlots;
class KXMLItem;

// What the editor's widgets work on, and the way a widget asks the editor
// for a line of typed text (`commit` answers false when the text is not
// taken, and the entry stays open).
struct KEditorWidgetContext {
    using TextEntry = std::function<void(const KLayoutControl& over, KString text, std::function<bool(const KString&)> commit)>;

    KEditorModel& model;
    KEditorSlots& slots;
    KEditorPresets& presets;
    TextEntry startTextEntry;
};

// The widget a control of the editor description names, on its place in
// the layout; null for a control without a widget or for a parameter the
// plug-in does not have. Raises KException for an unknown widget kind.
std::unique_ptr<KWidget> MakeEditorWidget(const KXMLItem& item, const KLayoutControl& place,
                                          KEditorWidgetContext& context);
