#pragma once
#include "plugin/parameters/KValueNumber.h"

// A number on a grid: validation first rounds the value half up to a multiple
// of the step, then clamps it. The step is one of the object's settings
// ("step"); a step of 0 or below turns the grid off. Stepping moves a whole
// grid step at a time, since a smaller step would round back to where it
// started.
class KValueStepDouble : public KValueDouble {
public:
    KValueStepDouble(double* variable, double minimum, double maximum, double step);
    KValueStepDouble(double minimum, double maximum, double initial, double step);

    double StepSize() const noexcept { return m_step; }
    // Takes effect at the next validation.
    void SetStepSize(double step) noexcept;

    void Validate() override;
    // The step first, so that a loaded value is validated against the
    // loaded grid.
    void Store(KStorageContext& context) override;

private:
    double m_step = 0;
    double m_defaultStep;
};
