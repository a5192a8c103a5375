#pragma once
#include <functional>

#include "ui/widgets/KWidget.h"

// A push button with a caption; lit while `lit` answers true (a selected
// slot, say).
class KButton : public KWidget {
public:
    KButton(const KLayoutControl& place, KString caption, std::function<void()> action,
            std::function<bool()> lit = nullptr);
    void Paint(KPainter& painter) override;
    bool TakesPointer() const override { return true; }
    void Press(const KPointerEvent& event) override;
    bool Refresh() override;

private:
    bool IsLit() const { return m_lit && m_lit(); }

    KString m_caption;
    std::function<void()> m_action;
    std::function<bool()> m_lit;
    bool m_shownLit = false;
};
