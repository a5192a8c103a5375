#pragma once
#include <ostream>

class KAudioPlugin;

// One row per host parameter: index, identifier, name, current value text,
// default value text.
void PrintParameterTable(KAudioPlugin& plugin, std::ostream& out);
