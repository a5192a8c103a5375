#pragma once
#include <functional>

#include "ui/widgets/KWidget.h"

// A line of text; `text` is asked again on every refresh when given, for
// labels that show a state (the current preset, say).
class KLabel : public KWidget {
public:
    enum class Style { Title, Heading, Info };

    KLabel(const KLayoutControl& place, KString text, Style style, std::function<KString()> live = nullptr);
    void Paint(KPainter& painter) override;
    bool Refresh() override;

private:
    KString m_text;
    Style m_style;
    std::function<KString()> m_live;
};
