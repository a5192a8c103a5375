#pragma once
#include <memory>
#include <vector>

#include "foundation/text/KString.h"
#include "foundation/threading/KSynchronizer.h"
#include "foundation/xml/KXMLItem.h"
#include "plugin/presets/KPresetMorph.h"

class KQuenlorAudioEffectPlugin;

// One ABCD morphing session over the active-preset slots, run from the
// editor's thread:
//   - opening it stores the current settings into the slot in use and
//     reads every host parameter's value in slots A, B, C and D, without
//     touching the live settings;
//   - MoveTo blends the four into the live parameters (A top left, B top
//     right, C bottom left, D bottom right) and tells the host of each
//     parameter that moved;
//   - Cancel brings back the settings of the opening;
//   - Accept keeps the result. When it answers true the slot in use is one
//     of the corners, which the result will replace: the editor asks
//     AcceptQuestion and, on yes, calls SelectSlotE.
// Every operation runs in the guard; a failure changes nothing further.
class KActivePresetMorph {
public:
    static constexpr int kCorners = 4;
    static constexpr int kSlotE = KPresetMorph::kSlotE;

    // Raises "Error creating plugin." when the slots cannot be read.
    explicit KActivePresetMorph(KQuenlorAudioEffectPlugin& plugin);
    KActivePresetMorph(const KActivePresetMorph&) = delete;
    KActivePresetMorph& operator=(const KActivePresetMorph&) = delete;

    // Both coordinates are held inside 0..1.
    void MoveTo(double x, double y);
    double X() const noexcept { return m_morph.X(); }
    double Y() const noexcept { return m_morph.Y(); }

    // The parameters a move can change: those with a corner away from the
    // value at the opening. An editor announces
    // gestures for them only.
    const std::vector<int>& MovingParameters() const noexcept { return m_moving; }

    void Cancel();
    bool Accept() const;
    void SelectSlotE();

    // The question asked when accepting replaces a corner: `slot` is the
    // slot in use, 0 to 3.
    static KString AcceptQuestion(int slot);

private:
    static std::vector<KPresetMorph::Corners> BuildTable(KQuenlorAudioEffectPlugin& plugin);
    // The effect's processing lock, which every block holds while it reads
    // the parameters.
    static KScopedLock HoldEffect(KQuenlorAudioEffectPlugin& plugin);
    void SetMorphedParameter(int index, double value);
    std::vector<int> FindMovingParameters() const;

    KQuenlorAudioEffectPlugin& m_plugin;
    KXMLItem m_saved;  // the settings of the opening
    // The parameters the current move set, told to the host once the move
    // is whole.
    std::vector<std::pair<int, double>> m_moved;
    KPresetMorph m_morph;
    std::vector<int> m_moving;
};
