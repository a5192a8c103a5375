#include "hosts/vst3/KVST3ClassInfo.h"

#include <cstring>

#include "hosts/vst3/KVST3Text.h"

namespace KVST3ClassInfo {

void FillFactoryInfo(vst3::PFactoryInfo& info) noexcept {
    std::memset(&info, 0, sizeof info);
    KVST3::CopyText(info.vendor, kVendor);
    KVST3::CopyText(info.url, kVendorURL);
    KVST3::CopyText(info.email, kVendorEmail);
    info.flags = vst3::kUnicode;
}

namespace {

// The three class records share their first fields; the two later ones add
// the same four texts (in bytes or in UTF-16, as CopyText chooses).
template <class Info>
void FillBasicFields(Info& info) noexcept {
    std::memset(&info, 0, sizeof info);
    ClassID().CopyTo(info.cid);
    info.cardinality = vst3::kManyInstances;
    KVST3::CopyText(info.category, vst3::kVstAudioEffectClass);
    KVST3::CopyText(info.name, kName);
}

// The vendor stays empty: the factory's vendor applies.
template <class Info>
void FillExtendedFields(Info& info) noexcept {
    FillBasicFields(info);
    KVST3::CopyText(info.subCategories, kSubCategories);
    KVST3::CopyText(info.version, kVersion);
    KVST3::CopyText(info.sdkVersion, kSdkVersion);
}

}  // namespace

void FillClassInfo(vst3::PClassInfo& info) noexcept { FillBasicFields(info); }
void FillClassInfo(vst3::PClassInfo2& info) noexcept { FillExtendedFields(info); }
void FillClassInfo(vst3::PClassInfoW& info) noexcept { FillExtendedFields(info); }

}  // namespace KVST3ClassInfo
