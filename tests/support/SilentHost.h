#pragma once
#include <cstdint>

#include "plugin/core/KAudioPluginAdapter.h"

// A host that takes every call from the plug-in and does nothing with it;
// a test overrides the calls it watches.
class SilentHost : public KAudioPluginAdapter {
public:
    void SendAutomation(std::int32_t, double) override {}
    void SendBypassAutomation(bool) override {}
    void GenerateMIDIEvent(std::int32_t, const std::uint8_t*) override {}
    void ReportLatency() override {}
    bool ChangeEditorSize(EditorSize) override { return false; }
};
