#pragma once
#include "plugin/core/KPlugin.h"
#include "plugin/parameters/ParameterMainBase.h"

// Wraps one record of an effect.
class ParameterBase : public ParameterMainBase {
public:
    ParameterBase(KAudioPlugin* owner, KPlugin* effect, int recordIndex)
        : ParameterMainBase(owner, effect->Record(recordIndex).name, effect->Record(recordIndex).identifier),
          m_effect(effect),
          m_recordIndex(recordIndex) {}

    KParameterRecord& Record() noexcept { return m_effect->Record(m_recordIndex); }
    int RecordIndex() const noexcept { return m_recordIndex; }

protected:
    // After a change: the effect hears of it, a record that needs a full
    // update marks it pending for the next block, and the editor redraws.
    void Changed(bool quiet) {
        if (quiet) return;
        m_effect->OnParameterChanged(m_recordIndex);
        if (Record().HasFlag(KParameterFlag::FullUpdate)) m_effect->GetParameters().SetFullUpdatePending(true);
        if (Owner()) Owner()->NeedUpdateEditor(FirstIndex());
    }

private:
    KPlugin* m_effect;
    int m_recordIndex;
};

// Holds a record of its own (the adapter's own settings parameters); a
// change calls the given hook.
class ParameterBaseCustom : public ParameterMainBase {
public:
    using ChangeHook = void (*)(void* context, int hostIndex);

    ParameterBaseCustom(KAudioPlugin* owner, KParameterRecord record, ChangeHook hook = nullptr,
                        void* context = nullptr)
        : ParameterMainBase(owner, record.name, record.identifier),
          m_record(std::move(record)),
          m_hook(hook),
          m_context(context) {}

    KParameterRecord& Record() noexcept { return m_record; }

protected:
    void Changed(bool quiet) {
        if (quiet) return;
        if (m_hook) m_hook(m_context, FirstIndex());
        if (Owner()) Owner()->NeedUpdateEditor(FirstIndex());
    }

private:
    KParameterRecord m_record;
    ChangeHook m_hook;
    void* m_context;
};
