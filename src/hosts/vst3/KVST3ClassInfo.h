#pragma once
#include "hosts/vst3/abi/Vst3Structures.h"

// The one class the module offers: processor and controller in one object.
namespace KVST3ClassInfo {

// Four-character codes, first character in the most significant byte: the
// maker and product ("Quen", "lora") and the plug-in's code twice.
inline constexpr vst3::uint32 kClassParts[4] = {0x5175656E, 0x6C6F7261, 0x4B416536, 0x4B416536};

constexpr vst3::Uid ClassID(vst3::UidOrder order = vst3::kPlatformUidOrder) {
    return vst3::Uid::Make(kClassParts[0], kClassParts[1], kClassParts[2], kClassParts[3], order);
}

inline constexpr const char* kVendor = "Quenlor";
inline constexpr const char* kVendorURL = "https://www.quenlor.com";
inline constexpr const char* kVendorEmail = "support@quenlor.com";
inline constexpr const char* kName = "Halvane";
inline constexpr const char* kSubCategories = "Fx|Modulation";
inline constexpr const char* kVersion = "7.10";
inline constexpr const char* kSdkVersion = "VST 3.5.2";

void FillFactoryInfo(vst3::PFactoryInfo& info) noexcept;
void FillClassInfo(vst3::PClassInfo& info) noexcept;
void FillClassInfo(vst3::PClassInfo2& info) noexcept;
void FillClassInfo(vst3::PClassInfoW& info) noexcept;

}  // namespace KVST3ClassInfo
