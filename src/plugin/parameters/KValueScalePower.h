#pragma once
#include <cmath>
#include <memory>

#include "plugin/parameters/KValue.h"

// Gives another value object a curved position: the outer position x stands
// for the inner position x^N, so a control spends more of its travel near
// the bottom of the range. Texts, parsing, validation, stepping and storage
// are the inner object's (it stores under its own key).
template <int N>
class KValueScalePower : public KValue {
    static_assert(N >= 2);

public:
    explicit KValueScalePower(std::unique_ptr<KValue> inner) : m_inner(std::move(inner)) {}

    KValue& Inner() const noexcept { return *m_inner; }

    bool IsChanged() const noexcept override { return m_inner->IsChanged(); }
    void ClearChanged() noexcept override { m_inner->ClearChanged(); }

    KString Text() const override { return m_inner->Text(); }
    KString TextFromPosition(double position) const override { return m_inner->TextFromPosition(Power(position)); }
    bool Parse(const KString& text) override { return m_inner->Parse(text); }
    void Validate() override { m_inner->Validate(); }
    bool Step(int count) override { return m_inner->Step(count); }
    double Position() const override { return Root(m_inner->Position()); }
    bool SetFromPosition(double position) override { return m_inner->SetFromPosition(Power(position)); }

    void Store(KStorageContext& context) override { m_inner->Store(context); }

private:
    static double Power(double x) noexcept {
        double result = x;
        for (int i = 1; i < N; ++i) result *= x;
        return result;
    }
    static double Root(double x) noexcept {
        if constexpr (N == 2) return std::sqrt(x);
        else return std::pow(x, 1.0 / N);
    }

    std::unique_ptr<KValue> m_inner;
};

using KValueScaleSqr = KValueScalePower<2>;
