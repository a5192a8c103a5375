#include "StateFiles.h"

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "ToolError.h"
#include "foundation/core/KException.h"
#include "foundation/xml/KStorageReadLog.h"
#include "hosts/common/KPluginCreation.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"
#include "presets/state/KStateBlock.h"

namespace {

std::vector<char> ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw ToolError("cannot open " + path.string());
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const void* data, int size) {
    std::ofstream file(path, std::ios::binary);
    file.write(static_cast<const char*>(data), size);
    if (!file) throw ToolError("cannot write " + path.string());
}

// The document, or a ToolError with the reason the block cannot be read.
std::unique_ptr<KXMLDocument> ParseStateFile(const std::filesystem::path& path) {
    const std::vector<char> bytes = ReadBytes(path);
    try {
        return KStateBlock::Parse(bytes.data(), int(bytes.size()));
    } catch (const KException& failure) {
        throw ToolError(path.string() + " is not a state block: " + failure.Message().ToUTF8());
    }
}

}  // namespace

void LoadStateFile(KQuenlorAudioEffectPlugin& plugin, const std::filesystem::path& path) {
    const std::unique_ptr<KXMLDocument> document = ParseStateFile(path);
    KStateBlock::Load(plugin, *document);
}

void SaveStateFile(KQuenlorAudioEffectPlugin& plugin, const std::filesystem::path& path) {
    KMemoryStream block = KStateBlock::Save(plugin);
    WriteBytes(path, block.Data(), int(block.Size()));
}

void ShowState(const std::filesystem::path& path, std::ostream& out) {
    const std::unique_ptr<KXMLDocument> document = ParseStateFile(path);
    document->SetEncoding("utf-8");
    KMemoryStream text;
    document->Write(text, false);
    out.write(reinterpret_cast<const char*>(text.Data()), text.Size());
}

bool CheckState(const std::filesystem::path& path, std::ostream& out) {
    std::unique_ptr<KXMLDocument> document;
    try {
        document = ParseStateFile(path);
    } catch (const ToolError& failure) {
        out << "does not load: " << failure.what() << '\n';
        return false;
    }
    auto plugin = KCreatePluginObject();
    KStorageReadLog log;
    KStateBlock::Load(*plugin, *document, &log);
    out << "loads\nversion: " << plugin->LoadedStateVersion() << '\n';
    const std::vector<std::string> unread = log.Unread(document->Root());
    out << "unrecognised attributes:" << (unread.empty() ? " none" : "") << '\n';
    for (const std::string& name : unread) out << "  " << name << '\n';
    return true;
}
