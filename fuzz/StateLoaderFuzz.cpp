// Feeds arbitrary bytes to the plug-in's state loader, as a host handing
// back a corrupt or foreign block would. A block that reads as a document
// is loaded into a fresh instance; whatever that instance then saves must
// be a fixed point: loaded into another fresh instance and saved again, it
// gives the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

#include "foundation/core/KException.h"
#include "hosts/common/KPluginCreation.h"
#include "plugin/core/KQuenlorAudioEffectPlugin.h"
#include "presets/state/KStateBlock.h"

namespace {

// The block is parsed before an instance is made: most inputs are refused
// by the parser, and making an instance costs more than a parse.
KMemoryStream LoadAndSave(const void* data, int size) {
    const std::unique_ptr<KXMLDocument> document = KStateBlock::Parse(data, size);
    auto plugin = KCreatePluginObject();
    KStateBlock::Load(*plugin, *document);
    return KStateBlock::Save(*plugin);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > std::size_t(std::numeric_limits<int>::max())) return 0;
    KMemoryStream first;
    try {
        first = LoadAndSave(data, int(size));
    } catch (const KException&) {
        return 0;  // refused with a clear message: the expected outcome for most inputs
    }
    KMemoryStream second = LoadAndSave(first.Data(), int(first.Size()));
    if (first.Size() != second.Size() || std::memcmp(first.Data(), second.Data(), std::size_t(first.Size())) != 0)
        std::abort();
    return 0;
}
