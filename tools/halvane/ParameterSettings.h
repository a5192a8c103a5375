#pragma once
#include <string>
#include <vector>

class KAudioPlugin;

// Applies "ID=TEXT" settings: ID is a parameter identifier or name, TEXT is
// read by that parameter's own parser ("440" for a frequency in hertz, "25"
// for a depth in percent, "On" for a switch). Raises ToolError naming the
// nearest identifiers for an unknown ID, and for a TEXT that holds no value.
void ApplySettings(KAudioPlugin& plugin, const std::vector<std::string>& settings);

// The identifiers closest to `id` by edit distance, best first.
std::vector<std::string> NearestIdentifiers(KAudioPlugin& plugin, const std::string& id, int count);
