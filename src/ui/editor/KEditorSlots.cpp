#include "ui/editor/KEditorSlots.h"

#include "plugin/presets/KPresetMorph.h"

KEditorSlots::Snapshot KEditorSlots::Capture() const {
    Snapshot snapshot(std::size_t(m_model.ParameterCount()));
    for (std::size_t i = 0; i < snapshot.size(); ++i) snapshot[i] = m_model.Value(int(i));
    return snapshot;
}

std::vector<int> KEditorSlots::MorphedParameters(const Snapshot& current) const {
    std::vector<int> morphed;
    for (std::size_t i = 0; i < current.size(); ++i)
        for (int corner = 0; corner < 4; ++corner) {
            const auto& slot = m_slots[std::size_t(corner)];
            if (slot && (*slot)[i] != current[i]) {
                morphed.push_back(int(i));
                break;
            }
        }
    return morphed;
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
    const Snapshot current = Capture();
    m_slots[std::size_t(m_active)] = current;
    m_morphed = MorphedParameters(current);
    for (int index : m_morphed) m_model.BeginGesture(index);
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

void KEditorSlots::EndMorph() {
    for (int index : m_morphed) m_model.EndGesture(index);
    m_morphed.clear();
}
