#pragma once
#include <string>
#include <vector>

class KQuenlorAudioEffectPlugin;

// `halvane editor --screenshot FILE.png`: the editor drawn off screen at
// its default size or WIDTHxHEIGHT.
void WriteEditorScreenshot(KQuenlorAudioEffectPlugin& plugin, const std::string& file, const std::string& size);
