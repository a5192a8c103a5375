#include "EditorCommand.h"

#include "LayoutCommand.h"
#include "ToolError.h"
#include "foundation/core/KException.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"
#include "ui/editor/KEditorPicture.h"
#include "ui/editor/KHalvaneEditor.h"

void WriteEditorScreenshot(KQuenlorAudioEffectPlugin& plugin, const std::string& file, const std::string& size) {
    try {
        // The waveform views show the tables processing set-up builds.
        plugin.InitProcessing();
        KHalvaneEditor editor(plugin);
        int width = editor.DefaultWidth(), height = editor.DefaultHeight();
        if (!size.empty()) ParseSize(size, width, height);
        editor.SetSize(width, height);
        KWriteEditorPicture(editor, KString::FromUTF8(file));
    } catch (const KException& error) {
        throw ToolError(file + ": " + error.Message().ToUTF8());
    }
}
