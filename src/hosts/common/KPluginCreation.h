#pragma once
#include <memory>

#include "plugin/core/KQuenlorAudioEffectPlugin.h"

// Builds one complete plug-in object (the maker's plug-in around the ring
// modulator), as every host format and the command-line program need it.
std::unique_ptr<KQuenlorAudioEffectPlugin> KCreatePluginObject();
