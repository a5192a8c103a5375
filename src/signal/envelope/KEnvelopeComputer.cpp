#include "signal/envelope/KEnvelopeComputer.h"

#include <algorithm>
#include <cmath>

#include "signal/envelope/KEnvelopeItems.h"

// Until the first Build the curve is 0 everywhere.
KEnvelopeComputer::KEnvelopeComputer() { m_items.push_back(std::make_unique<ItemConstant>(kFar, 0.0)); }
KEnvelopeComputer::~KEnvelopeComputer() = default;

void KEnvelopeComputer::Fill(float* out, double x0, double dx, int n) { FillRuns(out, x0, dx, n); }

void KEnvelopeComputer::Fill64(double* out, double x0, double dx, int n) { FillRuns(out, x0, dx, n); }

namespace {

void FillItem(const KEnvelopeComputer::Item& item, float* out, double x0, double dx, int begin, int end) {
    item.Fill(out, x0, dx, begin, end);
}

void FillItem(const KEnvelopeComputer::Item& item, double* out, double x0, double dx, int begin, int end) {
    item.Fill64(out, x0, dx, begin, end);
}

// Index of the first position x0 + k dx (begin < k <= n) at or past end,
// for dx > 0 and position begin below end. The quotient gives it up to
// rounding; comparing the positions themselves settles it the way Evaluate
// would. At least one position is taken, so that even an infinite step or an
// end that is NaN (made from a point at an infinite x) moves on.
int FirstPositionAtOrPast(double end, double x0, double dx, int begin, int n) {
    const double estimate = std::ceil((end - x0) / dx);
    int k = !(estimate > begin) ? begin + 1 : !(estimate < n) ? n : int(estimate);
    while (k > begin + 1 && x0 + (k - 1) * dx >= end) --k;
    while (k < n && x0 + k * dx < end) ++k;
    return k;
}

}  // namespace

// Each item fills the run of positions below its end in one call.
template <typename Sample>
void KEnvelopeComputer::FillRuns(Sample* out, double x0, double dx, int n) {
    if (n <= 0) return;
    if (x0 < CurrentItemStart()) m_current = 0;
    const int last = ItemCount() - 1;
    for (int begin = 0; begin < n;) {
        const double x = x0 + begin * dx;
        while (m_current < last && m_items[m_current]->End() <= x) ++m_current;
        // Without a positive step every remaining position is x.
        const bool endsInside = m_current < last && dx > 0;
        const int end = endsInside ? FirstPositionAtOrPast(m_items[m_current]->End(), x0, dx, begin, n) : n;
        FillItem(*m_items[m_current], out, x0, dx, begin, end);
        begin = end;
    }
}

double KEnvelopeComputer::CurrentItemStart() const noexcept {
    return m_current == 0 ? -kFar : m_items[m_current - 1]->End();
}

int KEnvelopeComputer::ItemIndexAt(double x) const noexcept {
    const auto covering = std::upper_bound(m_items.begin(), m_items.end(), x,
                                           [](double position, const auto& item) { return position < item->End(); });
    return std::min(int(covering - m_items.begin()), ItemCount() - 1);
}

double KEnvelopeComputer::Evaluate(double x) const {
    return m_items[ItemIndexAt(x)]->Evaluate(x);
}
