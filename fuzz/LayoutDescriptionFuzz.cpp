// Feeds arbitrary bytes to the editor's layout description: whatever parses
// as XML is built into controls and laid out at its own size, at its
// minimal size and at a size taken from the input. A description that
// cannot be laid out must say so with a KException, nothing else.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "foundation/core/KException.h"
#include "foundation/streams/KMemoryStream.h"
#include "foundation/xml/KXMLDocument.h"
#include "ui/layout/KLayoutDescription.h"

namespace {

void LayOut(KLayoutControl& window, int width, int height) {
    window.Resize(width, height);
    window.Arrange();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || size > std::size_t(std::numeric_limits<int>::max())) return 0;
    // The first two bytes choose a window size; the rest is the description.
    const int chosenWidth = data[0] * 8;
    const int chosenHeight = data[1] * 8;
    KMemoryStream input(data + 2, int(size - 2));
    KXMLDocument document;
    try {
        document.Parse(input);
        auto window = KLayoutDescription::Load(document.Root());
        int minimalWidth = 0;
        int minimalHeight = 0;
        window->ComputeMinimalClientSize(minimalWidth, minimalHeight);
        LayOut(*window, std::max(window->Size(KAxis::Horizontal), minimalWidth),
               std::max(window->Size(KAxis::Vertical), minimalHeight));
        LayOut(*window, minimalWidth, minimalHeight);
        LayOut(*window, chosenWidth, chosenHeight);
    } catch (const KException&) {
        // refused with its message
    }
    return 0;
}
