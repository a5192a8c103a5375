#include "plugin/core/KPlugin.h"

#include "foundation/core/Random.h"
#include "foundation/xml/KStorageContext.h"
#include "plugin/parameters/KRecordStorage.h"
#include "signal/generator/KSignalGenerator.h"

std::int64_t KPlugin::Dispatch(std::int32_t opcode, std::int64_t* parameters) {
    static std::int64_t noArguments[8] = {};
    std::int64_t* words = parameters ? parameters : noArguments;
    const std::int64_t first = words[1];
    const std::int64_t second = words[3];
    switch (opcode) {
        case KPluginOpcode::SetEntryPoint:
            return SetEntryPoint(reinterpret_cast<void*>(first), reinterpret_cast<KPluginEntry>(second));
        case KPluginOpcode::Destroy: {
            // Waits for a block being processed to end before the object goes.
            { KScopedLock hold(m_processingLock); }
            delete this;
            return 0;
        }
        case KPluginOpcode::GetParameters: return reinterpret_cast<std::int64_t>(&m_parameters);
        case KPluginOpcode::Reserved3: return 0;
        case KPluginOpcode::ParameterChanged: ParameterChanged(static_cast<int>(first)); return 0;
        case KPluginOpcode::CreateControls: CreateControls(reinterpret_cast<void*>(first)); return 0;
        case KPluginOpcode::DestroyControls: DestroyControls(reinterpret_cast<void*>(first)); return 0;
        case KPluginOpcode::Store:
        case KPluginOpcode::Load: {
            KStorageContext context(*reinterpret_cast<KXMLItem*>(first), opcode == KPluginOpcode::Store);
            return Store(context) ? 1 : 0;
        }
        case KPluginOpcode::Reserved13: return 0;
        // Reserved queries that no effect of this system answers: their defaults.
        case KPluginOpcode::Query14: return -1;
        case KPluginOpcode::Query15: return 0;
        case KPluginOpcode::Query20: return -1;
        default: return -1;
    }
}

std::int64_t KPlugin::SetEntryPoint(void* instance, KPluginEntry entry) {
    m_entryInstance = instance;
    m_entry = entry;
    return 0;
}

std::int64_t KPlugin::CallEntry(std::int32_t opcode, std::int64_t* parameters) const {
    if (!m_entry) return -1;
    return m_entry(m_entryInstance, opcode, parameters);
}

void KPlugin::SnapParameters() {
    for (int i = 0; i < RecordCount(); ++i) {
        KParameterRecord& record = Record(i);
        if (record.type == KParameterType::Float) record.floating.running = record.floating.value;
    }
}

void KPlugin::ParameterChanged(int index) {
    OnParameterChanged(index);
    if (index < 0 || index >= RecordCount() || Record(index).HasFlag(KParameterFlag::FullUpdate))
        OnParametersChanged();
}

void KPlugin::Randomize() {
    for (int i = 0; i < m_parameters.specialItemCount; ++i) {
        KPluginSpecialItem& item = m_parameters.specialItems[i];
        if (!item.IsRandomizable() || !item.generator) continue;
        if (item.randomDivisor <= 1 || KRandom::Next() % item.randomDivisor == 0) item.generator->Randomize(1.0);
    }
}

void KPlugin::ResetAttached() {
    for (int i = 0; i < RecordCount(); ++i)
        if (KSignalGenerator* generator = Record(i).attached) generator->Reset();
}

bool KPlugin::Store(KStorageContext& context) {
    if (context.Storing()) {
        for (int i = 0; i < RecordCount(); ++i) KRecordStorage::Store(Record(i), context);
        OnEvent(kStoredEvent, &context.Item());
        return false;
    }
    KScopedLock hold(m_processingLock);
    for (int i = 0; i < RecordCount(); ++i) KRecordStorage::Store(Record(i), context);
    return true;
}

void KPlugin::StoreGroup(int firstIndex, KStorageContext& context) {
    for (int i = firstIndex; i < RecordCount(); ++i) {
        if (i > firstIndex && Record(i).type == KParameterType::GroupHeader) break;
        KRecordStorage::Store(Record(i), context);
    }
}
