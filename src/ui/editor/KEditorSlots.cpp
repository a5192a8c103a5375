#include "ui/editor/KEditorSlots.h"

#include "plugin/presets/KPresetMorph.h"

KEditorSlots::Snapshot KEditorSlots::Capture() const {
    Snapshot snapshot(std::size_t(m_model.ParameterCount()));
    for (std::size_t i = 0; i < snapshot.size(); ++i) snapshot[i] = m_model.Value(int(i));
    return snapshot;
}

void KEditorSlots::ForEachParameter(void (KEditorModel::*gesture)(int) const) const {
    for (int i = 0; i < m_model.ParameterCount(); ++i) (m_model.*gesture)(i);
}

void KEditorSlots::Apply(const Snapshot& snapshot) const {
    for (std::size_t i = 0; i < snapshot.size(); ++i)
        if (m_model.Value(int(i)) != snapshot[i]) m_model.Change(int(i), snapshot[i]);
}

void KEditorSlots::Select(int slot) {
    if (slot < 0 || slot >= kSlots || slot == m_active) return;
    m_slots[std::size_t(m_active)] = Capture();
    m_active = slot;
    if (const auto& chosen = m_slots[std::size_t(slot)]) Apply(*chosen);
}

void KEditorSlots::BeginMorph() {
    m_slots[std::size_t(m_active)] = Capture();
    ForEachParameter(&KEditorModel::BeginGesture);
}

void KEditorSlots::MorphTo(double x, double y) {
    constexpr int kCorners = 4;
    const Snapshot current = Capture();
    std::vector<KPresetMorph::Corners> table(current.size());
    for (std::size_t i = 0; i < current.size(); ++i)
        for (int corner = 0; corner < kCorners; ++corner) {
            const auto& slot = m_slots[std::size_t(corner)];
            table[i][std::size_t(corner)] = slot ? (*slot)[i] : current[i];
        }
    KPresetMorph morph(
        std::move(table), [&](int index) { return m_model.Value(index); },
        [&](int index, double value) { m_model.Change(index, value); });
    morph.MoveTo(x, y);
    m_x = morph.X();
    m_y = morph.Y();
}

void KEditorSlots::EndMorph() { ForEachParameter(&KEditorModel::EndGesture); }
