#pragma once
#include <cstdint>

#include "foundation/core/KObject.h"
#include "foundation/threading/KSynchronizer.h"
#include "plugin/core/KPluginEntry.h"
#include "plugin/core/KPluginParameters.h"

class KStorageContext;

// The small interface an effect implements: a flat list of parameter
// records, their load and store, and (in KAudioEffectPlugin) processing.
class KPlugin : public KEventTarget {
public:
    ~KPlugin() override = default;

    // Answers one entry call; unknown opcodes give -1.
    virtual std::int64_t Dispatch(std::int32_t opcode, std::int64_t* parameters);

    // The callback through which the object reaches whoever drives it.
    virtual std::int64_t SetEntryPoint(void* instance, KPluginEntry entry);
    // Calls the entry point: -1 when none is set.
    std::int64_t CallEntry(std::int32_t opcode, std::int64_t* parameters) const;

    // Sets every float record's running value to its value, so that nothing
    // glides after initialisation.
    virtual void SnapParameters();
    virtual void OnParameterChanged(int index) { (void)index; }
    virtual void OnParametersChanged() {}
    virtual void CreateControls(void* container) { (void)container; }
    virtual void DestroyControls(void* container) { (void)container; }
    // Every record as an attribute "parameter<identifier>", both ways.
    // Storing raises the stored event (kind 1) with the item afterwards and
    // answers false; loading runs under the processing lock, where a missing
    // attribute leaves its record unchanged, and answers true.
    virtual bool Store(KStorageContext& context);
    // The records from `firstIndex` up to the next group header.
    virtual void StoreGroup(int firstIndex, KStorageContext& context);
    // Randomises each special item's object with one chance in its divisor.
    virtual void Randomize();
    virtual void ResetAttached();

    // Calls OnParameterChanged and, when the index is outside the records or
    // the record asks for it, OnParametersChanged.
    void ParameterChanged(int index);

    KPluginParameters& GetParameters() noexcept { return m_parameters; }
    const KPluginParameters& GetParameters() const noexcept { return m_parameters; }
    KParameterRecord& Record(int index) noexcept { return m_parameters.records[index]; }
    const KParameterRecord& Record(int index) const noexcept { return m_parameters.records[index]; }
    int RecordCount() const noexcept { return m_parameters.recordCount; }

    // The lock that processing, Load and Destroy hold; null locks nothing.
    KSynchronizer* ProcessingLock() const noexcept { return m_processingLock; }
    void SetProcessingLock(KSynchronizer* lock) noexcept { m_processingLock = lock; }

    static constexpr int kStoredEvent = 1;

protected:
    KPluginParameters m_parameters;

private:
    void* m_entryInstance = nullptr;
    KPluginEntry m_entry = nullptr;
    KSynchronizer* m_processingLock = nullptr;
};
