#include "ui/editor/KSettingSource.h"

#include <algorithm>
#include <cmath>

KSettingSource::KSettingSource(KString name, std::vector<KString> choices, int defaultChoice,
                               std::function<int()> get, std::function<void(int)> set)
    : m_name(std::move(name)),
      m_choices(std::move(choices)),
      m_default(defaultChoice),
      m_get(std::move(get)),
      m_set(std::move(set)) {}

double KSettingSource::ToValue(int choice) const noexcept {
    return m_choices.size() > 1 ? double(choice) / double(m_choices.size() - 1) : 0.0;
}

double KSettingSource::Value() { return ToValue(m_get()); }

KString KSettingSource::Text() {
    const int choice = std::clamp(m_get(), 0, int(m_choices.size()) - 1);
    return m_choices[std::size_t(choice)];
}

void KSettingSource::Set(double value) {
    const int last = int(m_choices.size()) - 1;
    const int choice = std::clamp(int(std::lround(value * last)), 0, last);
    if (choice != m_get()) m_set(choice);
}

bool KSettingSource::SetText(const KString& text) {
    for (std::size_t i = 0; i < m_choices.size(); ++i) {
        if (m_choices[i].EqualsNoCase(text)) {
            m_set(int(i));
            return true;
        }
    }
    return false;
}
