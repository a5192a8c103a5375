#pragma once
#include <memory>
#include <vector>

#include "plugin/core/KActivePresetSlots.h"
#include "ui/editor/KEditorModel.h"

class KActivePresetMorph;

// The eight active-preset slots A to H and the ABCD morph pad over the
// first four, as the editor shows them. Choosing a slot keeps the current
// settings in the slot left and brings back the chosen one's. Pressing the
// pad opens a morph session over the slots, dragging blends the corners into
// the live parameters and releasing accepts the result.
class KEditorSlots {
public:
    static constexpr int kSlots = KActivePresetSlots::kCount;

    explicit KEditorSlots(const KEditorModel& model) noexcept;
    ~KEditorSlots();

    int Active() const noexcept;
    void Select(int slot);

    double MorphX() const noexcept { return m_x; }
    double MorphY() const noexcept { return m_y; }
    void BeginMorph();
    void MorphTo(double x, double y);
    void EndMorph();

private:
    const KEditorModel& m_model;
    std::unique_ptr<KActivePresetMorph> m_morph;
    double m_x = 0;
    double m_y = 0;
};
