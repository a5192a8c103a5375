#pragma once
#include "ui/widgets/KWidget.h"

// The ground of a group of controls: a rounded card, or the window's
// header band.
class KPanel : public KWidget {
public:
    enum class Style { Card, Header, Window };

    KPanel(const KLayoutControl& place, Style style) : KWidget(place), m_style(style) {}
    void Paint(KPainter& painter) override;

private:
    Style m_style;
};
