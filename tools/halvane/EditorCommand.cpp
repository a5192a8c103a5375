#include "EditorCommand.h"

#include <vector>

#include "LayoutCommand.h"
#include "ToolError.h"
#include "foundation/core/KException.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"
#include "ui/editor/KEditorPicture.h"
#include "ui/editor/KHalvaneEditor.h"

namespace {
constexpr int kSilentBlock = 256;
}

void WriteEditorScreenshot(KQuenlorAudioEffectPlugin& plugin, const std::string& file, const std::string& size) {
    try {
        // The waveform views show the generators' tables, which processing
        // brings up to date with the settings: one silent block does it.
        plugin.InitProcessing();
        std::vector<float> left(kSilentBlock, 0.0f), right(kSilentBlock, 0.0f);
        float* channels[] = {left.data(), right.data()};
        plugin.ProcessBlock(channels, channels, kSilentBlock, true);
        KHalvaneEditor editor(plugin);
        int width = editor.DefaultWidth(), height = editor.DefaultHeight();
        if (!size.empty()) ParseSize(size, width, height);
        editor.SetSize(width, height);
        KWriteEditorPicture(editor, KString::FromUTF8(file));
    } catch (const KException& error) {
        throw ToolError(file + ": " + error.Message().ToUTF8());
    }
}
