#pragma once
#include "hosts/vst3/abi/Vst3Uid.h"

// The root of every VST 3 interface. An interface pointer points at a
// table of functions; the order of the declarations below is that order.
namespace vst3 {

class FUnknown {
public:
    static constexpr Uid iid = Uid::Make(0x00000000, 0x00000000, 0xC0000000, 0x00000046);
    virtual tresult VST3_API queryInterface(const char* iid, void** obj) = 0;
    virtual uint32 VST3_API addRef() = 0;
    virtual uint32 VST3_API release() = 0;

protected:
    ~FUnknown() = default;
};

class IPluginBase : public FUnknown {
public:
    static constexpr Uid iid = Uid::Make(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);
    virtual tresult VST3_API initialize(FUnknown* context) = 0;
    virtual tresult VST3_API terminate() = 0;

protected:
    ~IPluginBase() = default;
};

}  // namespace vst3
