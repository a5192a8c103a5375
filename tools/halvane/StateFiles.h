#pragma once
#include <filesystem>
#include <ostream>

class KQuenlorAudioEffectPlugin;

// State blocks as files: exactly the bytes a host keeps (zlib-compressed
// XML); plain XML is read too. Failures raise ToolError.
void LoadStateFile(KQuenlorAudioEffectPlugin& plugin, const std::filesystem::path& path);
void SaveStateFile(KQuenlorAudioEffectPlugin& plugin, const std::filesystem::path& path);

// "state show": the block as indented XML.
void ShowState(const std::filesystem::path& path, std::ostream& out);

// "state check": loads the block into a fresh instance and reports whether
// it loads, its version and the attributes no loading code read. Answers
// false when the block does not load.
bool CheckState(const std::filesystem::path& path, std::ostream& out);
