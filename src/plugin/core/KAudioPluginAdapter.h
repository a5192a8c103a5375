#pragma once
#include <cstdint>

// The plug-in's way back to its host, implemented by each host bridge. A
// plug-in without an adapter has no host and sends nothing.
class KAudioPluginAdapter {
public:
    struct EditorSize {
        std::int32_t width;
        std::int32_t height;
    };

    virtual ~KAudioPluginAdapter() = default;
    // A parameter changed inside the plug-in; value is normalised 0..1.
    virtual void SendAutomation(std::int32_t index, double value) = 0;
    virtual void SendBypassAutomation(bool state) = 0;
    // The user starts and ends one edit of a parameter (a drag, say); the
    // host then records the values sent between them as one gesture.
    // Formats without gestures ignore them.
    virtual void BeginEdit(std::int32_t index) { (void)index; }
    virtual void EndEdit(std::int32_t index) { (void)index; }
    // Four bytes are read from midiData: status byte first.
    virtual void GenerateMIDIEvent(std::int32_t deltaFrames, const std::uint8_t* midiData) = 0;
    // The latency changed; the bridge reads it from the plug-in.
    virtual void ReportLatency() = 0;
    // True when the host took the new size.
    virtual bool ChangeEditorSize(EditorSize size) = 0;
    // Many parameters changed at once (a preset was loaded): the host reads
    // them all again. Formats without such a call need not answer.
    virtual void ParametersChanged() {}
};
