#pragma once
#include <functional>
#include <vector>

#include "ui/widgets/KWidget.h"

// A scrolling list of lines: a click selects, a double click activates (a
// preset loads, say). The lines are asked for again on every refresh.
class KListView : public KWidget {
public:
    static constexpr double kLineHeight = 18;

    struct Binding {
        std::function<std::vector<KString>()> lines;
        std::function<int()> current;  // the line marked as in use, -1 none
        std::function<void(int line)> activate;
    };

    KListView(const KLayoutControl& place, Binding binding);
    void Paint(KPainter& painter) override;
    bool TakesPointer() const override { return true; }
    void Press(const KPointerEvent& event) override;
    void Wheel(const KPointerEvent& event) override;
    bool Refresh() override;
    int Selected() const noexcept { return m_selected; }

private:
    int VisibleLines() const;
    void ScrollTo(int line);

    Binding m_binding;
    std::vector<KString> m_lines;
    int m_current = -1;
    int m_selected = -1;
    int m_first = 0;
};
