#include "plugin/multiparameters/KMultiParameter.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "foundation/core/KException.h"
#include "foundation/text/KFormatter.h"
#include "plugin/core/KAudioPlugin.h"
#include "plugin/parameters/KTextRules.h"

KMultiParameter::KMultiParameter(KAudioPlugin& plugin, KLock& lock, int number)
    : m_plugin(plugin), m_lock(lock), m_number(number) {
    m_entries.reserve(kMaxEntries);
    m_entries.push_back(KMultiParameterParameter::Unassigned());
}

template <class T>
T KMultiParameter::GetUnderLock(const T& field) const {
    KScopedLock lock(m_lock);
    return field;
}

template <class T>
void KMultiParameter::SetUnderLock(T& field, T value) {
    KScopedLock lock(m_lock);
    field = std::move(value);
}

KString KMultiParameter::Label() const {
    KString name = Name();
    return name.IsEmpty() ? KString(KFormatter("Multiparameter {0}") << m_number) : name;
}

bool KMultiParameter::Hidden() const {
    const KString name = Name();
    return !name.IsEmpty() && name.ToUTF8().front() == '*';
}

KString KMultiParameter::Name() const { return GetUnderLock(m_name); }

void KMultiParameter::SetName(const KString& name) { SetUnderLock(m_name, name); }

KString KMultiParameter::Group() const { return GetUnderLock(m_group); }

void KMultiParameter::SetGroup(const KString& group) { SetUnderLock(m_group, group); }

KString KMultiParameter::Info() const { return GetUnderLock(m_info); }

void KMultiParameter::SetInfo(const KString& info) { SetUnderLock(m_info, info); }

bool KMultiParameter::Enabled() const { return GetUnderLock(m_enabled); }

void KMultiParameter::SetEnabled(bool enabled) { SetUnderLock(m_enabled, enabled); }

double KMultiParameter::DefaultValue() const { return GetUnderLock(m_defaultValue); }

void KMultiParameter::SetDefaultValue(double value) {
    if (!std::isnan(value)) SetUnderLock(m_defaultValue, std::clamp(value, 0.0, 1.0));
}

KMultiParameterMode KMultiParameter::Mode() const { return GetUnderLock(m_mode); }

void KMultiParameter::SetMode(KMultiParameterMode mode) {
    {
        KScopedLock lock(m_lock);
        m_mode = mode;
        ResetRamp();
    }
    RequestApply();
}

KMultiParameterValueMode KMultiParameter::ValueMode() const { return GetUnderLock(m_valueMode); }

void KMultiParameter::SetValueMode(KMultiParameterValueMode mode) { SetUnderLock(m_valueMode, mode); }

double KMultiParameter::SwitchTime() const { return GetUnderLock(m_switchTime); }

// An endless or undefined time would keep a ramp running for ever.
void KMultiParameter::SetSwitchTime(double seconds) {
    if (std::isfinite(seconds)) SetUnderLock(m_switchTime, std::max(seconds, kMinSwitchTime));
}

int KMultiParameter::BankCount() const { return GetUnderLock(m_bankCount); }

void KMultiParameter::SetBankCount(int count) {
    SetUnderLock(m_bankCount, std::clamp(count, kMinBanks, KMultiParameterParameter::kMaxBanks));
    RequestApply();
}

double KMultiParameter::SliderValue() const { return GetUnderLock(m_slider); }

void KMultiParameter::SetSliderValue(double value, bool quiet) {
    if (std::isnan(value)) return;
    {
        KScopedLock lock(m_lock);
        (m_redirect ? m_alternateSlider : m_slider) = std::clamp(value, 0.0, 1.0);
    }
    if (!quiet) Apply();
}

void KMultiParameter::SetRedirect(bool on) {
    KScopedLock lock(m_lock);
    m_alternateSlider = m_slider;
    m_redirect = on;
}

double KMultiParameter::RampPosition() const { return GetUnderLock(m_rampPosition); }

bool KMultiParameter::UsesRamp() const noexcept {
    return m_mode == KMultiParameterMode::Switch || m_mode == KMultiParameterMode::Trigger;
}

// The text work runs outside the lock; only the first target and its
// value are taken under it.
KString KMultiParameter::ValueText(double position) const {
    int target = -1;
    double value = 0;
    {
        KScopedLock lock(m_lock);
        if (m_valueMode == KMultiParameterValueMode::ByFirstParameter) {
            target = m_entries.front().parameterIndex;
            value = TargetOfFirstEntry(position);
        }
    }
    if (target < 0) return KTextRules::Percent(position);
    return m_plugin.GetParameterValueNameFrom01(target, value);
}

double KMultiParameter::TargetOfFirstEntry(double x) const {
    const KMultiParameterParameter& first = m_entries.front();
    if (m_mode == KMultiParameterMode::Banks) return first.TargetForBank(x * (m_bankCount - 1), m_bankCount);
    return first.TargetForPosition(x, first.range);
}

void KMultiParameter::RequestApply() noexcept { m_pendingApply.store(true, std::memory_order_release); }

// The lock is taken before the re-entry mark is tested: the mark then
// catches only this thread coming back through one of its own targets,
// and an application from another thread waits instead of being lost.
// The host is told after the lock is let go, as every edit tells it.
void KMultiParameter::Apply(bool sendAutomation) {
    if (Disabled()) return;
    std::array<int, kMaxEntries> targets;
    std::size_t targetCount = 0;
    {
        KScopedLock lock(m_lock);
        if (m_applying) return;
        m_applying = true;
        struct ClearMark {
            bool& mark;
            ~ClearMark() { mark = false; }
        } clear{m_applying};
        const double x = UsesRamp() ? m_rampPosition : WorkingSlider();
        if (m_mode == KMultiParameterMode::Banks) ApplyBanks(x);
        else ApplyRanges(x);
        if (sendAutomation)
            for (const KMultiParameterParameter& entry : m_entries)
                if (entry.enabled && entry.parameterIndex >= 0 && targetCount < targets.size())
                    targets[targetCount++] = entry.parameterIndex;
    }
    for (std::size_t i = 0; i < targetCount; ++i)
        m_plugin.SendAutomation(targets[i], m_plugin.GetParameter(targets[i]));
}

const KModulationRange& KMultiParameter::RangeOf(std::size_t entry) const noexcept {
    const KMultiParameterParameter& e = m_entries[entry];
    return e.useFirstRange && entry > 0 ? m_entries.front().range : e.range;
}

void KMultiParameter::ApplyRanges(double x) {
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const KMultiParameterParameter& entry = m_entries[i];
        if (!entry.enabled || entry.parameterIndex < 0) continue;
        m_plugin.SetParameter(entry.parameterIndex, entry.TargetForPosition(x, RangeOf(i)));
    }
}

void KMultiParameter::ApplyBanks(double x) {
    const double p = x * (m_bankCount - 1);
    for (const KMultiParameterParameter& entry : m_entries) {
        if (!entry.enabled || entry.parameterIndex < 0) continue;
        m_plugin.SetParameter(entry.parameterIndex, entry.TargetForBank(p, m_bankCount));
    }
}

int KMultiParameter::EntryCount() const {
    KScopedLock lock(m_lock);
    return int(m_entries.size());
}

// A fresh entry is centred on the target's current value (which every
// bank also starts from), so the middle position leaves the target where
// it was.
int KMultiParameter::AddEntry(int target) {
    KMultiParameterParameter entry;
    entry.parameterIndex = target;
    entry.parameterName = m_plugin.GetParameterID(target);
    const double current = m_plugin.GetParameter(target);
    entry.range.value = current;
    for (int b = 0; b < KMultiParameterParameter::kMaxBanks; ++b) entry.SetBank(b, current);
    KScopedLock lock(m_lock);
    // The only entry, when unassigned, is a placeholder and gives way.
    if (m_entries.size() == 1 && !m_entries.front().IsAssigned()) m_entries.clear();
    if (int(m_entries.size()) >= kMaxEntries)
        throw KException("Sorry, this multiparameter cannot drive any more parameters.");
    m_entries.push_back(std::move(entry));
    return int(m_entries.size()) - 1;
}

void KMultiParameter::DeleteEntry(int entry) {
    {
        KScopedLock lock(m_lock);
        if (entry < 0 || entry >= int(m_entries.size())) return;
        if (m_entries.size() <= 1) throw KException("There must be at least one parameter for each modulator.");
        m_entries.erase(m_entries.begin() + entry);
    }
    RequestApply();
}

void KMultiParameter::ClearEntries() {
    KMultiParameterParameter placeholder = KMultiParameterParameter::Unassigned();
    KScopedLock lock(m_lock);
    m_entries.clear();
    m_entries.push_back(std::move(placeholder));
}

void KMultiParameter::SetEntryTarget(int entry, int target) {
    const KString name = m_plugin.GetParameterID(target);
    EditEntry(entry, [&](KMultiParameterParameter& e) {
        e.parameterIndex = target;
        e.parameterName = name;
    });
}

namespace {

double& RangeField(KModulationRange& range, int which) {
    return which == 0 ? range.value : (which == 1 ? range.maxValue : range.range);
}

}  // namespace

std::optional<double> KMultiParameter::EntryParameter(int entry, int which) const {
    KScopedLock lock(m_lock);
    if (entry < 0 || entry >= int(m_entries.size())) return std::nullopt;
    KModulationRange range = m_entries[std::size_t(entry)].range;
    return RangeField(range, which);
}

void KMultiParameter::SetEntryParameter(int entry, int which, double value, bool quiet) {
    if (std::isnan(value)) return;
    {
        KScopedLock lock(m_lock);
        if (entry < 0 || entry >= int(m_entries.size())) return;
        RangeField(m_entries[std::size_t(entry)].range, which) = std::clamp(value, 0.0, 1.0);
    }
    if (!quiet) Apply();
}

void KMultiParameter::CaptureBank(int bank) {
    KScopedLock lock(m_lock);
    for (KMultiParameterParameter& entry : m_entries)
        if (entry.parameterIndex >= 0) entry.SetBank(bank, m_plugin.GetParameter(entry.parameterIndex));
}

void KMultiParameter::Reset() {
    KMultiParameterParameter placeholder = KMultiParameterParameter::Unassigned();
    KScopedLock lock(m_lock);
    m_entries.clear();
    m_entries.push_back(std::move(placeholder));
    m_name = m_group = m_info = KString();
    m_enabled = false;
    m_defaultValue = 0.5;
    m_mode = KMultiParameterMode::Normal;
    m_valueMode = KMultiParameterValueMode::Percents;
    m_switchTime = 1;
    m_bankCount = 4;
    m_slider = m_alternateSlider = m_defaultValue;
    ResetRamp();
}

bool KMultiParameter::IsUnused() const {
    KScopedLock lock(m_lock);
    return m_entries.empty() || (m_entries.size() == 1 && !m_entries.front().enabled);
}
