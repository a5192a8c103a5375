#pragma once

// The preset library as the plug-in reaches it: the library lives above the
// plug-in (it reads and writes files), so the plug-in only knows this.
class KPresetNavigator {
public:
    virtual ~KPresetNavigator() = default;
    // Loads the preset `step` places after the current one, wrapping around.
    virtual void StepPreset(int step) = 0;
};
