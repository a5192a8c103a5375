#pragma once
#include <array>
#include <memory>
#include <vector>

#include "foundation/threading/KLock.h"
#include "foundation/xml/KXMLItem.h"
#include "plugin/core/KAutomationAdapter.h"
#include "plugin/multiparameters/KMultiParameter.h"

class KAudioPlugin;
class KStorageContext;

// The plug-in's four multiparameters with the lock they share, and the
// editing operations that involve more than one entry at a time: learning
// and copy and paste.
class KMultiParameters {
public:
    static constexpr int kCount = 4;

    explicit KMultiParameters(KAudioPlugin& plugin);

    KMultiParameter& operator[](int index) { return *m_items[std::size_t(index)]; }
    const KMultiParameter& operator[](int index) const { return *m_items[std::size_t(index)]; }
    KLock& Lock() noexcept { return m_lock; }

    // One automation adapter per multiparameter, in order (see
    // KMultiParameterAutomation for the indices each one owns).
    std::vector<std::unique_ptr<KAutomationAdapter>> MakeAutomationAdapters();

    void SetSampleRate(double rate);
    // Once per host block, before the effect runs.
    void PrepareForProcessing(int sampleCount);
    // A ramp is running, so the block must be processed in short pieces.
    bool NeedBlockwiseUpdates() const noexcept;

    // All four under the "MultiParameters" item, as "MultiParameter0" to
    // "MultiParameter3": an unused one has its sub-item removed; loading
    // resets one whose sub-item is missing.
    void Store(KStorageContext& context);

    // Learning: while it runs, every parameter the user moves (the editor
    // reports each move with the value before and after) becomes an entry
    // of the learning multiparameter running from where the parameter was
    // to where it was moved; moving it again extends the entry to the new
    // place. `clearFirst` removes the existing entries first.
    void StartLearning(int index, bool clearFirst);
    void StopLearning();
    int LearningIndex() const noexcept { return m_learning; }
    void LearnParameterMove(int parameter, double before, double after);

    // Copy and paste of one multiparameter's settings and entries. Pasting
    // applies the pasted position and tells the host the targets' values
    // (from the editor's thread).
    void Copy(int index);
    bool CanPaste() const noexcept { return m_clipboard != nullptr; }
    void Paste(int index);

private:
    bool IsOwnParameter(int parameter) const;

    KAudioPlugin& m_plugin;
    KLock m_lock;
    std::array<std::unique_ptr<KMultiParameter>, kCount> m_items;
    std::vector<const KAutomationAdapter*> m_adapters;  // owned by the plug-in
    int m_learning = -1;
    std::vector<int> m_learnedParameters;
    std::unique_ptr<KXMLItem> m_clipboard;
};
