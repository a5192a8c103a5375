#include "signal/envelope/KEnvelopeSegmentType.h"

namespace {

using Info = KEnvelopeSegmentTypeInfo;

constexpr const char* kSmoothDescription =
    "Fast, no curvature, provides smooth connection between neighboring segments.";

constexpr Info kInfos[Info::kCount] = {
    {"Mode 1", "Fastest, minimal curvature freedom.", Info::kUsesCurvature | Info::kSmooth},
    {"Mode 2", "Fast, average curvature freedom.", Info::kUsesCurvature | Info::kSmooth},
    {"Mode 3", "Very slow, very high curvature freedom.", Info::kUsesCurvature | Info::kSmooth},
    {"Free 1", "Normal speed, curvature adjustable in both axes.",
     Info::kUsesCurvatureX | Info::kUsesCurvature},
    {"Double 1", "Double curved shape.", Info::kUsesCurvature | Info::kSmooth},
    {"Smooth 1", kSmoothDescription, Info::kSmooth},
    {"Smooth 2", kSmoothDescription, Info::kSmooth},
    {"Stairs", "Stairs-like image, curvature controls number of stairs.", Info::kUsesCurvature},
    {"Pulses", "Pulses, curvature controls number of pulses.", Info::kUsesCurvature},
    {"Saw", "Saw, curvature controls number of saw teeth.", Info::kUsesCurvature},
    {"Triangles", "Triangles, curvature controls number of triangles.", Info::kUsesCurvature},
    {"Sines", "Sines, curvature controls number of waves.", Info::kUsesCurvature},
};

}  // namespace

const KEnvelopeSegmentTypeInfo* KEnvelopeSegmentTypeInfo::Find(KEnvelopeSegmentType type) noexcept {
    const auto index = static_cast<std::int32_t>(type);
    return index >= 0 && index < kCount ? &kInfos[index] : nullptr;
}

bool KEnvelopeSegmentTypeInfo::FromName(const KString& name, KEnvelopeSegmentType& type) noexcept {
    for (int index = 0; index < kCount; ++index) {
        if (name.EqualsNoCase(KString::FromBytes(kInfos[index].name))) {
            type = static_cast<KEnvelopeSegmentType>(index);
            return true;
        }
    }
    return false;
}
