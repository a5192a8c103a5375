#include "ui/editor/KPluginEditor.h"

// Builds without a window layer of ours (Windows, for now) have no editor;
// hosts then show their own generic controls.
std::unique_ptr<KPluginEditor> MakePluginEditor(KAudioEffectPluginToAudioPluginAdapter&) { return nullptr; }
