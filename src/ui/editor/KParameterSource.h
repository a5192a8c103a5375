#pragma once
#include "ui/editor/KEditorModel.h"
#include "ui/widgets/KValueSource.h"

// A host parameter as a control's value: the texts and the parser are the
// parameter's own; every change reaches the host as automation.
class KParameterSource : public KValueSource {
public:
    // `label` replaces the parameter's name on the control when not empty.
    KParameterSource(const KEditorModel& model, int index, KString label);

    int Index() const noexcept { return m_index; }
    KString Name() override;
    double Value() override { return m_model.Value(m_index); }
    KString Text() override { return m_model.Text(m_index); }
    double Default() override { return m_model.Default(m_index); }
    int Steps() override { return m_steps; }
    void Begin() override { m_model.BeginGesture(m_index); }
    void Set(double value) override { m_model.Change(m_index, value); }
    void End() override { m_model.EndGesture(m_index); }
    bool SetText(const KString& text) override;

private:
    int CountSteps() const;

    const KEditorModel& m_model;
    int m_index;
    KString m_label;
    int m_steps;
};
