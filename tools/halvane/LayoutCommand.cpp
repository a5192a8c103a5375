#include "LayoutCommand.h"

#include <algorithm>
#include <cstdio>

#include "ToolError.h"
#include "foundation/core/KException.h"
#include "ui/layout/KLayoutDescription.h"

void ParseSize(const std::string& text, int& width, int& height) {
    char tail = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &width, &height, &tail) != 2 || width < 1 || height < 1)
        throw ToolError("--size must be WIDTHxHEIGHT in pixels, e.g. 640x480");
}

namespace {

void PrintControls(const KLayoutControl& parent, int originX, int originY, int depth, std::ostream& out) {
    for (int i = 0; i < parent.ChildCount(); ++i) {
        const KLayoutControl& child = parent.Child(i);
        const KLayoutRect r = child.Rect();
        out << std::string(std::size_t(2 * depth), ' ') << (child.Name().IsEmpty() ? "(unnamed)" : child.Name().ToUTF8())
            << ": " << originX + r.left << ' ' << originY + r.top << ' ' << originX + r.right << ' '
            << originY + r.bottom << " (" << r.Width() << 'x' << r.Height() << ')'
            << (child.Visible() ? "" : " hidden") << '\n';
        PrintControls(child, originX + r.left, originY + r.top, depth + 1, out);
    }
}

}  // namespace

void PrintLayout(const std::string& file, const std::string& size, std::ostream& out) {
    try {
        auto window = KLayoutDescription::LoadFile(KString::FromUTF8(file));
        int minimalWidth = 0, minimalHeight = 0;
        window->ComputeMinimalClientSize(minimalWidth, minimalHeight);
        int width = std::max(window->Size(KAxis::Horizontal), minimalWidth);
        int height = std::max(window->Size(KAxis::Vertical), minimalHeight);
        if (!size.empty()) ParseSize(size, width, height);
        window->Resize(width, height);
        window->Arrange();
        out << "window: " << width << 'x' << height << " (minimal " << minimalWidth << 'x' << minimalHeight << ")\n";
        PrintControls(*window, 0, 0, 1, out);
    } catch (const KException& error) {
        throw ToolError(file + ": " + error.Message().ToUTF8());
    }
}
