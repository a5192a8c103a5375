#pragma once
#include "foundation/threading/KSynchronizer.h"
#include "foundation/text/KString.h"

class HalvaneAudioEffectPlugin;
class KAudioEffectPluginToAudioPluginAdapter;

// The plug-in as its editor sees it: host parameters by index, read and
// set under the effect's processing lock (held only for the call), and
// every change the user makes handed on to the host as automation, inside
// begin/end gestures where the host has them.
class KEditorModel {
public:
    explicit KEditorModel(KAudioEffectPluginToAudioPluginAdapter& plugin) noexcept : m_plugin(plugin) {}

    KAudioEffectPluginToAudioPluginAdapter& Plugin() const noexcept { return m_plugin; }
    // The ring modulator behind the plug-in; null for another effect.
    HalvaneAudioEffectPlugin* Effect() const noexcept;

    int ParameterCount() const noexcept;
    // The host index of a parameter by identifier or name, -1 for none.
    int Find(const KString& id) const;
    KString Name(int index) const;
    double Value(int index) const;
    KString Text(int index) const;
    double Default(int index) const;
    int Type(int index) const;
    // The value a text stands for, by the parameter's own parser.
    double Parse(int index, const KString& text) const;

    void BeginGesture(int index) const;
    // Sets the parameter and sends the host the new value.
    void Change(int index, double value) const;
    void EndGesture(int index) const;

private:
    KScopedLock HoldEffect() const;

    KAudioEffectPluginToAudioPluginAdapter& m_plugin;
};
