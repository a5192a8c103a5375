#include "plugin/presets/KActivePresetMorph.h"

#include <cmath>

#include "foundation/core/Guard.h"
#include "foundation/text/KFormatter.h"
#include "foundation/xml/KStorageContext.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"
#include "plugin/presets/KSettingsParameterReader.h"

KActivePresetMorph::KActivePresetMorph(KQuenlorAudioEffectPlugin& plugin)
    : m_plugin(plugin),
      m_morph(
          BuildTable(plugin), [this](int index) { return m_plugin.GetParameter(index); },
          [this](int index, double value) { SetMorphedParameter(index, value); }) {
    KStorageContext store(m_saved, true);
    m_plugin.StoreSettings(store);
    m_moving = FindMovingParameters();
}

std::vector<int> KActivePresetMorph::FindMovingParameters() const {
    const KScopedLock hold = HoldEffect(m_plugin);
    std::vector<int> moving;
    const auto& table = m_morph.Table();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const double now = m_plugin.GetParameter(int(i));
        for (double corner : table[i])
            if (std::fabs(corner - now) > KPresetMorph::kSmallestMove) {
                moving.push_back(int(i));
                break;
            }
    }
    return moving;
}

KScopedLock KActivePresetMorph::HoldEffect(KQuenlorAudioEffectPlugin& plugin) {
    return KScopedLock(plugin.Effect() ? plugin.Effect()->ProcessingLock() : nullptr);
}

// Parameters the slots do not know (an open editor's own) keep their value
// in every corner.
std::vector<KPresetMorph::Corners> KActivePresetMorph::BuildTable(KQuenlorAudioEffectPlugin& plugin) {
    const auto slots = plugin.CaptureActivePresets(kCorners);
    KSettingsParameterReader reader(plugin);
    std::vector<std::vector<double>> corners;
    for (const auto& slot : slots) corners.push_back(reader.Read(*slot));

    const KScopedLock hold = HoldEffect(plugin);
    std::vector<KPresetMorph::Corners> table(std::size_t(plugin.GetParameterCount()));
    for (std::size_t i = 0; i < table.size(); ++i) {
        const bool known = int(i) < reader.ParameterCount();
        for (std::size_t c = 0; c < kCorners; ++c)
            table[i][c] = known ? corners[c][i] : plugin.GetParameter(int(i));
    }
    return table;
}

void KActivePresetMorph::SetMorphedParameter(int index, double value) {
    m_plugin.SetParameter(index, value);
    m_moved.emplace_back(index, value);
}

// A block sees the whole move or none of it: the effect's processing lock,
// which every block holds while it reads the parameters, is held across
// it. The host hears of the changes after, outside the lock.
void KActivePresetMorph::MoveTo(double x, double y) {
    KGuard::Run("KActivePresetMorph::MoveTo", [&] {
        m_moved.clear();
        {
            const KScopedLock hold = HoldEffect(m_plugin);
            m_morph.MoveTo(x, y);
        }
        for (const auto& [index, value] : m_moved) m_plugin.SendAutomation(index, value);
    });
}

void KActivePresetMorph::Cancel() {
    KGuard::Run("KActivePresetMorph::Cancel", [&] {
        KXMLItem copy;
        KXMLItem::DeepCopy(copy, m_saved);
        KStorageContext load(copy, false);
        m_plugin.StoreSettings(load);
        m_plugin.OnPresetLoaded();
    });
}

bool KActivePresetMorph::Accept() const { return KPresetMorph::AcceptReplacesCorner(m_plugin.ActivePresetIndex()); }

void KActivePresetMorph::SelectSlotE() {
    KGuard::Run("KActivePresetMorph::SelectSlotE", [&] { m_plugin.SelectActivePresetKeepingSettings(kSlotE); });
}

KString KActivePresetMorph::AcceptQuestion(int slot) {
    return KFormatter(
               "Preset {0} is currently selected, which means that the changes you have made using ABCD morphing "
               "will replace it. ABCD morphing uses presets A,B,C and D, so next time you use it you would be "
               "morphing different presets, because you are going to change one of them.<p><p><b>Would you like "
               "to select preset E, so that the ABCD settings will be preseved?")
           << KString::FromChar(char16_t(u'A' + slot));
}
