#include "hosts/vst3/KVST3ParameterList.h"

#include <algorithm>
#include <cmath>

#include "hosts/vst3/KVST3Text.h"

void KVST3ParameterList::Add(const Description& description) {
    vst3::ParameterInfo info{};
    info.id = description.id;
    KVST3::CopyText(info.title, description.title);
    KVST3::CopyText(info.shortTitle, description.title);
    info.stepCount = description.stepCount;
    info.defaultNormalizedValue = description.defaultValue;
    info.unitId = vst3::kRootUnitId;
    info.flags = description.flags;
    m_indexByID[description.id] = Count();
    m_infos.push_back(info);
    m_values.push_back(std::make_unique<std::atomic<double>>(description.defaultValue));
}

bool KVST3ParameterList::Info(int index, vst3::ParameterInfo& info) const noexcept {
    if (index < 0 || index >= Count()) return false;
    info = m_infos[std::size_t(index)];
    return true;
}

double KVST3ParameterList::ToPlain(vst3::ParamID id, double normalized) const noexcept {
    const int index = Find(id);
    const int steps = index < 0 ? 0 : m_infos[std::size_t(index)].stepCount;
    if (steps <= 0) return normalized;
    return std::min(double(steps), std::floor(normalized * (steps + 1)));
}

double KVST3ParameterList::ToNormalized(vst3::ParamID id, double plain) const noexcept {
    const int index = Find(id);
    const int steps = index < 0 ? 0 : m_infos[std::size_t(index)].stepCount;
    return steps <= 0 ? plain : plain / steps;
}

bool KVST3ParameterList::SetNormalized(vst3::ParamID id, double value) noexcept {
    const int index = Find(id);
    if (index < 0) return false;
    m_values[std::size_t(index)]->store(std::clamp(value, 0.0, 1.0), std::memory_order_relaxed);
    return true;
}

double KVST3ParameterList::Normalized(vst3::ParamID id) const noexcept {
    const int index = Find(id);
    return index < 0 ? 0.0 : m_values[std::size_t(index)]->load(std::memory_order_relaxed);
}

int KVST3ParameterList::Find(vst3::ParamID id) const noexcept {
    const auto found = m_indexByID.find(id);
    return found == m_indexByID.end() ? -1 : found->second;
}
