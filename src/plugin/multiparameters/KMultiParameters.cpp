#include "plugin/multiparameters/KMultiParameters.h"

#include <algorithm>

#include "foundation/text/KFormatter.h"
#include "foundation/xml/KStorageContext.h"
#include "plugin/core/KAudioPlugin.h"
#include "plugin/multiparameters/KMultiParameterAutomation.h"

KMultiParameters::KMultiParameters(KAudioPlugin& plugin) : m_plugin(plugin) {
    for (int i = 0; i < kCount; ++i) m_items[std::size_t(i)] = std::make_unique<KMultiParameter>(plugin, m_lock, i + 1);
}

std::vector<std::unique_ptr<KAutomationAdapter>> KMultiParameters::MakeAutomationAdapters() {
    std::vector<std::unique_ptr<KAutomationAdapter>> adapters;
    m_adapters.clear();
    for (auto& item : m_items) {
        adapters.push_back(std::make_unique<KMultiParameterAutomation>(*item));
        m_adapters.push_back(adapters.back().get());
    }
    return adapters;
}

void KMultiParameters::SetSampleRate(double rate) {
    for (auto& item : m_items) item->SetSampleRate(rate);
}

void KMultiParameters::PrepareForProcessing(int sampleCount) {
    for (auto& item : m_items) item->PrepareForProcessing(sampleCount);
}

bool KMultiParameters::NeedBlockwiseUpdates() const noexcept {
    return std::any_of(m_items.begin(), m_items.end(), [](const auto& item) { return item->RampRunning(); });
}

void KMultiParameters::Store(KStorageContext& context) {
    KXMLItem& group = context.SubItem("MultiParameters").Item();
    for (int i = 0; i < kCount; ++i) {
        KMultiParameter& item = *m_items[std::size_t(i)];
        const KString name = KFormatter("MultiParameter{0}") << i;
        if (context.Storing()) {
            group.RemoveSubItem(name);
            if (item.IsUnused()) continue;
            KStorageContext slot(group.AddSubItem(name), true);
            item.Store(slot);
        } else if (KXMLItem* stored = group.FindSubItem(name)) {
            KStorageContext slot(*stored, false);
            item.Store(slot);
        } else {
            item.Reset();
        }
    }
}

void KMultiParameters::StartLearning(int index, bool clearFirst) {
    if (index < 0 || index >= kCount) return;
    StopLearning();
    if (clearFirst) (*this)[index].ClearEntries();
    // The learned targets must stay where the user moves them.
    (*this)[index].SetDisabled(true);
    m_learning = index;
    m_learnedParameters.clear();
}

// Learned entries run from where the parameters were (position 0) to where
// the user put them (position 1), so learning ends at position 1 and
// nothing the user set moves.
void KMultiParameters::StopLearning() {
    if (m_learning >= 0) {
        KMultiParameter& learned = (*this)[m_learning];
        if (!m_learnedParameters.empty()) learned.SetSliderValue(1, true);
        learned.SetDisabled(false);
    }
    m_learning = -1;
    m_learnedParameters.clear();
}

// The multiparameters' own parameters are never learned: a multiparameter
// driving another one's entries is possible, but not by accident.
bool KMultiParameters::IsOwnParameter(int parameter) const {
    return std::any_of(m_adapters.begin(), m_adapters.end(), [&](const KAutomationAdapter* adapter) {
        return parameter >= adapter->FirstIndex() && parameter < adapter->FirstIndex() + adapter->Count();
    });
}

void KMultiParameters::LearnParameterMove(int parameter, double before, double after) {
    if (m_learning < 0 || parameter < 0 || IsOwnParameter(parameter)) return;
    KMultiParameter& learning = (*this)[m_learning];
    auto known = std::find(m_learnedParameters.begin(), m_learnedParameters.end(), parameter);
    if (known == m_learnedParameters.end()) {
        const int entry = learning.AddEntry(parameter);
        m_learnedParameters.push_back(parameter);
        learning.EditEntry(entry, [&](KMultiParameterParameter& e) {
            e.range = {.value = before, .maxValue = after, .range = 1, .mode = KRangeMode::Interval};
        });
        return;
    }
    for (int entry = 0; entry < learning.EntryCount(); ++entry) {
        if (learning.InspectEntry(entry, [](const auto& e) { return e.parameterIndex; }) != parameter) continue;
        learning.EditEntry(entry, [&](KMultiParameterParameter& e) { e.range.maxValue = after; });
    }
}

void KMultiParameters::Copy(int index) {
    auto item = std::make_unique<KXMLItem>(KString("MultiParameter"));
    KStorageContext context(*item, true);
    (*this)[index].Store(context);
    m_clipboard = std::move(item);
}

void KMultiParameters::Paste(int index) {
    if (!m_clipboard) return;
    KStorageContext context(*m_clipboard, false);
    KMultiParameter& target = (*this)[index];
    target.Store(context);
    target.Apply(true);
}
