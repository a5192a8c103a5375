#include "KStateShape.h"

#include <algorithm>

#include "foundation/core/KException.h"
#include "foundation/streams/KMemoryStream.h"
#include "foundation/xml/KXMLDocument.h"

KStateShape ShapeOfState(const std::vector<std::uint8_t>& state, const KStateShape& current) {
    if (state.empty()) return current;
    KMemoryStream stream(state.data(), int(state.size()));
    KXMLDocument document;
    try {
        document.ParseCompressedOrPlain(stream);
    } catch (const KException&) {
        return current;
    }
    const KXMLItem& root = document.Root();
    KStateShape shape = current;
    shape.processing.upsampling =
        int(std::clamp<std::int64_t>(root.IntegerAttribute("upsampling", current.processing.upsampling), -1, 64));
    shape.processing.gainCompensation = root.IntegerAttribute("AGC", current.processing.gainCompensation) != 0;
    shape.highQualityUpsampling = root.IntegerAttribute("hqupsampling", current.highQualityUpsampling) != 0;
    shape.channelMode = root.Attribute("ChannelMode", KString::FromUTF8(current.channelMode)).ToUTF8();
    shape.bypass = root.IntegerAttribute("Bypass", current.bypass) != 0;
    return shape;
}

std::string Describe(const KStateShape& shape) {
    return "upsampling " + std::to_string(shape.processing.upsampling) + (shape.highQualityUpsampling ? " high quality" : "") +
           ", gain compensation " + (shape.processing.gainCompensation ? "on" : "off") + ", channel mode " +
           shape.channelMode + (shape.bypass ? ", bypassed" : "");
}

KStateShape Union(const KStateShape& a, const KStateShape& b) noexcept {
    KStateShape loosest;
    // Any factor other than 1 counts as upsampling for the bound.
    loosest.processing.upsampling = a.processing.upsampling != 1 ? a.processing.upsampling : b.processing.upsampling;
    loosest.processing.gainCompensation = a.processing.gainCompensation || b.processing.gainCompensation;
    loosest.highQualityUpsampling = a.highQualityUpsampling || b.highQualityUpsampling;
    loosest.channelMode = a.channelMode == b.channelMode ? a.channelMode : a.channelMode + " or " + b.channelMode;
    loosest.bypass = a.bypass || b.bypass;
    return loosest;
}
