#pragma once
#include <array>
#include <optional>
#include <vector>

#include "ui/editor/KEditorModel.h"

// The eight quick slots A to H and the ABCD morph pad over the first four.
// A slot holds every host parameter's value. Choosing another slot keeps
// the current settings in the slot left and brings back the chosen one's
// (an empty slot starts from the current settings). The pad blends the
// settings kept in A to D; the one in use is kept first, so a morph always
// includes what the user hears.
class KEditorSlots {
public:
    static constexpr int kSlots = 8;

    explicit KEditorSlots(const KEditorModel& model) : m_model(model) {}

    int Active() const noexcept { return m_active; }
    void Select(int slot);
    bool IsFilled(int slot) const noexcept { return m_slots[std::size_t(slot)].has_value(); }

    double MorphX() const noexcept { return m_x; }
    double MorphY() const noexcept { return m_y; }
    void BeginMorph();
    void MorphTo(double x, double y);
    void EndMorph();

private:
    using Snapshot = std::vector<double>;
    Snapshot Capture() const;
    void Apply(const Snapshot& snapshot) const;
    // The parameters whose values differ between the corners: only they
    // move, and only they are announced to the host as edited.
    std::vector<int> MorphedParameters(const Snapshot& current) const;

    const KEditorModel& m_model;
    std::array<std::optional<Snapshot>, kSlots> m_slots;
    std::vector<int> m_morphed;
    int m_active = 0;
    double m_x = 0;
    double m_y = 0;
};
