#pragma once
#include <string>

#include "foundation/text/KString.h"
#include "ui/widgets/KPalette.h"
#include "ui/widgets/KRect.h"

typedef struct _cairo cairo_t;

// Drawing for widgets over a cairo context: rounded shapes and one-line
// texts in the editor's typeface.
class KPainter {
public:
    enum class Align { Left, Center, Right };
    enum class Weight { Normal, Bold };

    explicit KPainter(cairo_t* cairo) noexcept : m_cairo(cairo) {}
    cairo_t* Cairo() const noexcept { return m_cairo; }

    void Fill(const KRect& rect, const KColor& color);
    void FillRounded(const KRect& rect, double radius, const KColor& color);
    void StrokeRounded(const KRect& rect, double radius, const KColor& color, double lineWidth = 1);
    // The text centred vertically in `rect`, cut with an ellipsis when it
    // does not fit.
    void Text(const KString& text, const KRect& rect, double size, const KColor& color, Align align = Align::Center,
              Weight weight = Weight::Normal);
    double TextWidth(const std::string& utf8, double size, Weight weight = Weight::Normal);
    void SetColor(const KColor& color);

private:
    void RoundedPath(const KRect& rect, double radius);
    void SelectFont(double size, Weight weight);

    cairo_t* m_cairo;
};
