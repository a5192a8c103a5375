#include "plugin/pipeline/KParameterInterpolator.h"

#include <cmath>

void KParameterInterpolator::Add(KAutomationAdapter* adapter, int localIndex) {
    const double value = adapter->GetParameter(localIndex);
    m_entries.push_back(Entry{adapter, localIndex, value, value, value, 0, false});
}

bool KParameterInterpolator::Prepare(int sampleCount) {
    if (m_resetPending.exchange(false, std::memory_order_acq_rel) || sampleCount < 2) {
        TakeOver();
        return false;
    }
    bool any = false;
    for (Entry& entry : m_entries) {
        entry.current = entry.adapter->GetParameter(entry.localIndex);
        entry.active = std::fabs(entry.current - entry.previous) > kThreshold;
        any = any || entry.active;
    }
    if (!any) return false;
    for (Entry& entry : m_entries) {
        if (!entry.active) {
            entry.previous = entry.current;
            continue;
        }
        entry.step = (entry.current - entry.previous) / sampleCount;
        entry.running = entry.previous;
        entry.adapter->SetRedirect(entry.localIndex, true);
        entry.adapter->SetParameter(entry.localIndex, entry.running, true);
    }
    return true;
}

void KParameterInterpolator::TakeOver() {
    m_resetPending.store(false, std::memory_order_release);
    for (Entry& entry : m_entries) entry.previous = entry.current = entry.adapter->GetParameter(entry.localIndex);
}

void KParameterInterpolator::Process(int sampleCount) {
    for (Entry& entry : m_entries) {
        if (!entry.active) continue;
        entry.running += sampleCount * entry.step;
        entry.adapter->SetParameter(entry.localIndex, entry.running, true);
    }
}

void KParameterInterpolator::Finish() {
    for (Entry& entry : m_entries) {
        entry.previous = entry.current;
        if (!entry.active) continue;
        entry.adapter->SetRedirect(entry.localIndex, false);
        entry.adapter->SetParameter(entry.localIndex, entry.current, true);
        entry.active = false;
    }
}
