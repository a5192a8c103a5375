#include "ui/editor/KParameterSource.h"

#include "plugin/core/KAudioEffectPluginToAudioPluginAdapter.h"
#include "plugin/parameters/KParameterRecord.h"

namespace {
// Lists are sampled this finely to count their entries.
constexpr int kListProbes = 256;
}

KParameterSource::KParameterSource(const KEditorModel& model, int index, KString label)
    : m_model(model), m_index(index), m_label(std::move(label)), m_steps(CountSteps()) {}

int KParameterSource::CountSteps() const {
    const int type = m_model.Type(m_index);
    if (type == int(KParameterType::OnOff)) return 2;
    if (type != int(KParameterType::List)) return 0;
    int entries = 1;
    KString previous = m_model.Plugin().GetParameterValueNameFrom01(m_index, 0);
    for (int probe = 1; probe <= kListProbes; ++probe) {
        KString name = m_model.Plugin().GetParameterValueNameFrom01(m_index, double(probe) / kListProbes);
        if (!(name == previous)) ++entries;
        previous = std::move(name);
    }
    return entries;
}

KString KParameterSource::Name() { return m_label.IsEmpty() ? m_model.Name(m_index) : m_label; }

bool KParameterSource::SetText(const KString& text) {
    const double value = m_model.Parse(m_index, text);
    Begin();
    Set(value);
    End();
    return true;
}
