#pragma once
#include <functional>
#include <vector>

#include "ui/widgets/KValueSource.h"

// A plug-in setting with a fixed list of choices (bypass, channel mode,
// upsampling): read and written through functions by choice number.
class KSettingSource : public KValueSource {
public:
    KSettingSource(KString name, std::vector<KString> choices, int defaultChoice, std::function<int()> get,
                   std::function<void(int)> set);

    KString Name() override { return m_name; }
    double Value() override;
    KString Text() override;
    double Default() override { return ToValue(m_default); }
    int Steps() override { return int(m_choices.size()); }
    void Set(double value) override;
    // The choice named by the text, without regard to case.
    bool SetText(const KString& text) override;

private:
    double ToValue(int choice) const noexcept;

    KString m_name;
    std::vector<KString> m_choices;
    int m_default;
    std::function<int()> m_get;
    std::function<void(int)> m_set;
};
