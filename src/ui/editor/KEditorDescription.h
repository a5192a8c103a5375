#pragma once

// The editor's layout and controls as XML (src/ui/editor/HalvaneEditor.xml,
// compiled in). Besides the layout attributes, a control may name its
// widget: "panel" (style "card", "header", "window"), "label" (style
// "title", "heading", text), "knob", "slider", "toggle", "choice" (a host
// parameter by "param" identifier, or a "setting": "bypass",
// "channelmode", "upsampling", "highquality", "gaincompensation"; "label"
// replaces the parameter's name), "waveform" ("oscillator"), "slot"
// ("slot" 0-7), "morphpad", "presets", "presetname" and "presetbutton"
// ("action": "previous", "next", "load", "save", "saveas").
extern const char* const kHalvaneEditorDescription;
