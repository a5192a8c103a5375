#pragma once
#include <memory>
#include <vector>

#include "signal/envelope/KEnvelope.h"

// Turns an envelope into an ordered list of evaluator items, one per x
// interval, and evaluates the curve at single positions or over blocks of
// evenly spaced positions. Build allocates; Fill, Fill64 and Evaluate do not.
class KEnvelopeComputer {
public:
    class Item;
    template <class Derived>
    class ItemT;
    class ItemConstant;
    class ItemLinear;
    class ItemQuadratic;
    class ItemQuadraticSSE;
    class ItemFourthOrder;
    class ItemFourthOrderSSE;
    class ItemExponencial;
    class ItemBezier;
    class ItemBezierSSE;
    class ItemDouble;
    class ItemCubic;
    class ItemCubicSSE;
    class ItemStairs;
    class ItemPulses;
    class ItemSaw;
    class ItemTriangles;
    class ItemSines;

    struct Vertex {
        double x;
        double y;
    };

    // End of the items that run to the end of the x axis.
    static constexpr double kFar = 1.7e308;

    KEnvelopeComputer();
    ~KEnvelopeComputer();
    KEnvelopeComputer(const KEnvelopeComputer&) = delete;
    KEnvelopeComputer& operator=(const KEnvelopeComputer&) = delete;

    // Replaces the items by those of the envelope and starts a new sweep.
    // Raises "Invalid control point type." for an unknown segment type.
    void Build(const KEnvelope& envelope);

    // out[k] = curve at x0 + k dx for k < n. Walks forward from where the
    // previous call stopped; a block starting before that place starts a
    // new sweep from the first item.
    void Fill(float* out, double x0, double dx, int n);
    void Fill64(double* out, double x0, double dx, int n);

    double Evaluate(double x) const;

    // The items in x order: item i covers [end of item i - 1, end of item i).
    int ItemCount() const noexcept { return int(m_items.size()); }
    const Item& ItemAt(int index) const { return *m_items[std::size_t(index)]; }
    // Index of the item covering x.
    int ItemIndexAt(double x) const noexcept;

    KEnvelope::Range XRange() const noexcept { return m_rangeX; }
    // The curve is 0 from here to the end: kFar when it does not end in 0,
    // -kFar when it is 0 everywhere.
    double ZeroTailStart() const noexcept { return m_zeroTailStart; }

    // Owned items in x order, as Build makes them.
    using ItemList = std::vector<std::unique_ptr<Item>>;

private:
    template <typename Sample>
    void FillRuns(Sample* out, double x0, double dx, int n);
    double CurrentItemStart() const noexcept;

    ItemList m_items;
    int m_current = 0;
    KEnvelope::Range m_rangeX;
    double m_zeroTailStart = -kFar;
};
