#include "ui/widgets/KPainter.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>

namespace {

constexpr const char* kTypeface = "DejaVu Sans";
constexpr const char* kEllipsis = "\u2026";

// Drops the last UTF-8 character.
void DropLastCharacter(std::string& text) {
    while (!text.empty()) {
        const unsigned char last = static_cast<unsigned char>(text.back());
        text.pop_back();
        if ((last & 0xC0) != 0x80) break;
    }
}

}  // namespace

void KPainter::SetColor(const KColor& color) {
    cairo_set_source_rgba(m_cairo, color.red, color.green, color.blue, color.alpha);
}

void KPainter::Fill(const KRect& rect, const KColor& color) {
    SetColor(color);
    cairo_rectangle(m_cairo, rect.x, rect.y, rect.width, rect.height);
    cairo_fill(m_cairo);
}

void KPainter::RoundedPath(const KRect& rect, double radius) {
    const double r = std::min(radius, std::min(rect.width, rect.height) / 2);
    const double right = rect.x + rect.width;
    const double bottom = rect.y + rect.height;
    cairo_new_sub_path(m_cairo);
    cairo_arc(m_cairo, right - r, rect.y + r, r, -M_PI / 2, 0);
    cairo_arc(m_cairo, right - r, bottom - r, r, 0, M_PI / 2);
    cairo_arc(m_cairo, rect.x + r, bottom - r, r, M_PI / 2, M_PI);
    cairo_arc(m_cairo, rect.x + r, rect.y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(m_cairo);
}

void KPainter::FillRounded(const KRect& rect, double radius, const KColor& color) {
    RoundedPath(rect, radius);
    SetColor(color);
    cairo_fill(m_cairo);
}

void KPainter::StrokeRounded(const KRect& rect, double radius, const KColor& color, double lineWidth) {
    // Half-pixel inset keeps one-pixel lines sharp.
    RoundedPath(rect.Inset(lineWidth / 2, lineWidth / 2), radius);
    SetColor(color);
    cairo_set_line_width(m_cairo, lineWidth);
    cairo_stroke(m_cairo);
}

void KPainter::SelectFont(double size, Weight weight) {
    cairo_select_font_face(m_cairo, kTypeface, CAIRO_FONT_SLANT_NORMAL,
                           weight == Weight::Bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(m_cairo, size);
}

double KPainter::TextWidth(const std::string& utf8, double size, Weight weight) {
    SelectFont(size, weight);
    cairo_text_extents_t extents;
    cairo_text_extents(m_cairo, utf8.c_str(), &extents);
    return extents.x_advance;
}

void KPainter::Text(const KString& text, const KRect& rect, double size, const KColor& color, Align align,
                    Weight weight) {
    std::string utf8 = text.ToUTF8();
    if (TextWidth(utf8, size, weight) > rect.width) {
        while (!utf8.empty() && TextWidth(utf8 + kEllipsis, size, weight) > rect.width) DropLastCharacter(utf8);
        utf8 += kEllipsis;
    }
    SelectFont(size, weight);
    cairo_font_extents_t font;
    cairo_font_extents(m_cairo, &font);
    const double width = TextWidth(utf8, size, weight);
    double x = rect.x;
    if (align == Align::Center) x = rect.x + (rect.width - width) / 2;
    if (align == Align::Right) x = rect.x + rect.width - width;
    const double baseline = rect.y + (rect.height + font.ascent - font.descent) / 2;
    SetColor(color);
    cairo_move_to(m_cairo, std::round(x), std::round(baseline));
    cairo_show_text(m_cairo, utf8.c_str());
    // Showing text leaves a current point that the next path would join.
    cairo_new_path(m_cairo);
}
