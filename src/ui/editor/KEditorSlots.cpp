#include "ui/editor/KEditorSlots.h"

#include "foundation/core/Guard.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"
#include "plugin/presets/KActivePresetMorph.h"

KEditorSlots::KEditorSlots(const KEditorModel& model) noexcept : m_model(model) {}
KEditorSlots::~KEditorSlots() = default;

int KEditorSlots::Active() const noexcept { return m_model.Plugin().ActivePresetIndex(); }

// The editor's thread makes the switch itself rather than leaving it to the
// update thread, so the next picture already shows the chosen slot.
void KEditorSlots::Select(int slot) {
    KGuard::Run("KEditorSlots::Select", [&] {
        KQuenlorAudioEffectPlugin& plugin = m_model.Plugin();
        plugin.RequestActivePreset(slot);
        plugin.ApplyActivePresetRequest();
    });
}

void KEditorSlots::BeginMorph() {
    if (m_morph) return;
    KGuard::Run("KEditorSlots::BeginMorph", [&] {
        m_morph = std::make_unique<KActivePresetMorph>(m_model.Plugin());
        for (int index : m_morph->MovingParameters()) m_model.BeginGesture(index);
    });
}

void KEditorSlots::MorphTo(double x, double y) {
    if (!m_morph) return;
    m_morph->MoveTo(x, y);
    m_x = m_morph->X();
    m_y = m_morph->Y();
}

// The pad has no dialog to ask in. Accepting on one of the corners A to D
// would make the next morph blend the result instead of the four settings
// the user put there, so the result moves to slot E, as the question the
// session offers recommends, and the corners stay as they were.
void KEditorSlots::EndMorph() {
    if (!m_morph) return;
    if (m_morph->Accept()) m_morph->SelectSlotE();
    for (int index : m_morph->MovingParameters()) m_model.EndGesture(index);
    m_morph.reset();
}
