#pragma once
#include "signal/envelope/KEnvelopeItems.h"

// Vector variants of the polynomial and Bezier items: Fill and Fill64 work on
// two positions at a time and give exactly the values of the plain items
// (the same operations in the same order, only paired). Every x86-64
// processor has SSE2, so the choice is made when compiling.
#if defined(__SSE2__)

class KEnvelopeComputer::ItemQuadraticSSE final : public ItemQuadratic {
public:
    using ItemQuadratic::ItemQuadratic;
    void Fill(float* out, double x0, double dx, int begin, int end) const override;
    void Fill64(double* out, double x0, double dx, int begin, int end) const override;
};

class KEnvelopeComputer::ItemFourthOrderSSE final : public ItemFourthOrder {
public:
    using ItemFourthOrder::ItemFourthOrder;
    void Fill(float* out, double x0, double dx, int begin, int end) const override;
    void Fill64(double* out, double x0, double dx, int begin, int end) const override;
};

class KEnvelopeComputer::ItemCubicSSE final : public ItemCubic {
public:
    using ItemCubic::ItemCubic;
    void Fill(float* out, double x0, double dx, int begin, int end) const override;
    void Fill64(double* out, double x0, double dx, int begin, int end) const override;
};

class KEnvelopeComputer::ItemBezierSSE final : public ItemBezier {
public:
    using ItemBezier::ItemBezier;
    void Fill(float* out, double x0, double dx, int begin, int end) const override;
    void Fill64(double* out, double x0, double dx, int begin, int end) const override;
};

#endif

// The item classes Build makes for the items that have vector variants.
struct KEnvelopeFastestItems {
#if defined(__SSE2__)
    using Quadratic = KEnvelopeComputer::ItemQuadraticSSE;
    using FourthOrder = KEnvelopeComputer::ItemFourthOrderSSE;
    using Cubic = KEnvelopeComputer::ItemCubicSSE;
    using Bezier = KEnvelopeComputer::ItemBezierSSE;
#else
    using Quadratic = KEnvelopeComputer::ItemQuadratic;
    using FourthOrder = KEnvelopeComputer::ItemFourthOrder;
    using Cubic = KEnvelopeComputer::ItemCubic;
    using Bezier = KEnvelopeComputer::ItemBezier;
#endif
};
