#include "ui/widgets/KWaveformView.h"

#include <cairo.h>

#include "signal/generator/KSignalGenerator.h"

KWaveformView::KWaveformView(const KLayoutControl& place, KSignalGenerator& generator, std::function<bool()> enabled)
    : KWidget(place), m_generator(generator), m_enabled(std::move(enabled)), m_points(kPoints, 0.0f) {
    Refresh();
}

bool KWaveformView::Sample(std::vector<float>& points) const {
    KSynchronizer* lock = m_generator.Lock();
    if (lock->Acquire(0) != 0) return false;
    const float* table = m_generator.Table();
    constexpr int kStride = KSignalGenerator::kTableLength / kPoints;
    for (int i = 0; i < kPoints; ++i) points[std::size_t(i)] = table[i * kStride];
    lock->Release();
    return true;
}

bool KWaveformView::Refresh() {
    std::vector<float> points(kPoints);
    const bool enabled = m_enabled();
    bool changed = enabled != m_shownEnabled;
    m_shownEnabled = enabled;
    if (Sample(points) && points != m_points) {
        m_points.swap(points);
        changed = true;
    }
    return changed;
}

void KWaveformView::Paint(KPainter& painter) {
    const KRect bounds = Bounds();
    painter.FillRounded(bounds, 6, KPalette::kWell);
    cairo_t* cr = painter.Cairo();
    const KRect plot = bounds.Inset(8, 8);
    const double mid = plot.CenterY();
    const double half = plot.height / 2;

    cairo_set_line_width(cr, 1);
    painter.SetColor(KPalette::kGrid);
    for (int quarter = 1; quarter < 4; ++quarter) {
        const double x = int(plot.x + plot.width * quarter / 4) + 0.5;
        cairo_move_to(cr, x, plot.y);
        cairo_line_to(cr, x, plot.y + plot.height);
    }
    cairo_move_to(cr, plot.x, int(mid) + 0.5);
    cairo_line_to(cr, plot.x + plot.width, int(mid) + 0.5);
    cairo_stroke(cr);

    // Two periods, so that the shape's joins show.
    const int count = 2 * kPoints;
    auto pointX = [&](int i) { return plot.x + plot.width * i / (count - 1); };
    auto pointY = [&](int i) { return mid - half * 0.92 * m_points[std::size_t(i % kPoints)]; };
    const KColor wave = m_shownEnabled ? KPalette::kWave : KPalette::kTrack;
    cairo_move_to(cr, pointX(0), mid);
    for (int i = 0; i < count; ++i) cairo_line_to(cr, pointX(i), pointY(i));
    cairo_line_to(cr, pointX(count - 1), mid);
    cairo_close_path(cr);
    painter.SetColor({wave.red, wave.green, wave.blue, 0.15});
    cairo_fill(cr);
    for (int i = 0; i < count; ++i) (i == 0 ? cairo_move_to : cairo_line_to)(cr, pointX(i), pointY(i));
    cairo_set_line_width(cr, 2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    painter.SetColor(wave);
    cairo_stroke(cr);
}
