#include "plugin/parameters/KValuePitch.h"

std::unique_ptr<KValuePitch> KValuePitch::ForEditor(double* ratio) {
    auto pitch = std::make_unique<KValuePitch>(ratio, 0.25, 4.0);
    pitch->SetFormat("{0;+.02}");
    pitch->SetSteps(0.1, 1.0);
    return pitch;
}
