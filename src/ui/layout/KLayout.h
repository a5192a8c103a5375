#pragma once
#include <vector>

#include "foundation/core/KObject.h"
#include "ui/layout/KLayoutGeometry.h"

class KLayoutControl;
class KXMLItem;

// What layouts report about the space their controls need, accumulated
// layout by layout in arrangement order: the width and height the layouts
// so far took for themselves, and what must remain beyond that. The
// window's minimal client size is consumed + required on each axis.
struct KLayoutSizeState {
    int consumedWidth = 0;
    int consumedHeight = 0;
    int requiredWidth = 0;
    int requiredHeight = 0;

    int MinimalWidth() const noexcept { return consumedWidth + requiredWidth; }
    // A layout took `taken` on one axis for itself and needs `length` on
    // the other.
    void Consume(KAxis axis, int taken, int length) noexcept;
    int MinimalHeight() const noexcept { return consumedHeight + requiredHeight; }
};

// A layout owns some of its control's children and places them inside a
// rectangle, returning what it leaves free for the next layout.
class KLayout : public KObject {
public:
    // A control's outer extent on an axis, borders included.
    class SizeComputer {
    public:
        virtual ~SizeComputer() = default;
        virtual int Extent(const KLayoutControl& control, KAxis axis) const = 0;
        int Width(const KLayoutControl& control) const { return Extent(control, KAxis::Horizontal); }
        int Height(const KLayoutControl& control) const { return Extent(control, KAxis::Vertical); }
    };
    // The size a control shows now (a plastic one: its computed size).
    class CurrentSizeComputer : public SizeComputer {
    public:
        int Extent(const KLayoutControl& control, KAxis axis) const override;
    };
    // The least a control accepts: unweighted controls keep their size.
    class MinimalSizeComputer : public SizeComputer {
    public:
        int Extent(const KLayoutControl& control, KAxis axis) const override;
    };

    // Appends itself to the owner's layouts.
    explicit KLayout(KLayoutControl& owner);
    ~KLayout() override;

    // "layoutspace", "deflayoutborderx", "deflayoutbordery".
    virtual void LoadFromXml(const KXMLItem& item);
    // Reads the control's own attributes for this layout, then adds it.
    virtual void AddControlFromXml(KLayoutControl& control, const KXMLItem& item);
    virtual void AddControl(KLayoutControl& control);
    virtual void RemoveControl(KLayoutControl& control);
    virtual KLayoutRect Arrange(KLayoutRect rect);
    virtual void ComputeSize(KLayoutSizeState& state, const SizeComputer& computer);
    void MinimalSize(KLayoutSizeState& state);
    void CurrentSize(KLayoutSizeState& state);
    // Bits 1 (can stretch horizontally) and 2 (vertically).
    virtual int Stretchability() const { return 0; }

    KLayoutControl& Owner() const noexcept { return m_owner; }
    int ControlCount() const noexcept { return int(m_controls.size()); }
    KLayoutControl& Control(int index) const noexcept { return *m_controls[std::size_t(index)]; }
    int Space() const noexcept { return m_space; }
    void SetSpace(int space) noexcept { m_space = space; }
    void SetDefaultBorders(int x, int y) noexcept;
    // The style's spacing plus the layout's space; 0 without controls.
    int Spacing() const noexcept;

protected:
    // Appends without touching the gap.
    void AppendControl(KLayoutControl& control);

    // Visible controls only.
    template <class Visit>
    void ForEachVisible(Visit&& visit) const {
        for (KLayoutControl* control : m_controls)
            if (IsShown(*control)) visit(*control);
    }
    static bool IsShown(const KLayoutControl& control) noexcept;

private:
    KLayoutControl& m_owner;
    std::vector<KLayoutControl*> m_controls;
    int m_space = 0;
    int m_defaultBorderX = -1;
    int m_defaultBorderY = -1;
};
