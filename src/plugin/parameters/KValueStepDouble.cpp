#include "plugin/parameters/KValueStepDouble.h"

KValueStepDouble::KValueStepDouble(double* variable, double minimum, double maximum, double step)
    : KValueDouble(variable, minimum, maximum), m_defaultStep(step) {
    SetStepSize(step);
}

KValueStepDouble::KValueStepDouble(double minimum, double maximum, double initial, double step)
    : KValueDouble(minimum, maximum, initial), m_defaultStep(step) {
    SetStepSize(step);
}

void KValueStepDouble::SetStepSize(double step) noexcept {
    m_step = step;
    if (step > 0) SetSteps(step, 10 * step);
}

void KValueStepDouble::Validate() {
    if (m_step > 0) {
        const double onGrid = KTextRules::RoundHalfUp(Value() * (1 / m_step)) * m_step;
        if (onGrid != Value()) {
            Variable() = onGrid;
            MarkChanged();
        }
    }
    KValueDouble::Validate();
}

void KValueStepDouble::Store(KStorageContext& context) {
    context.Property("step", m_step, [&](double step) { SetStepSize(step); }, m_defaultStep);
    KValueDouble::Store(context);
}
