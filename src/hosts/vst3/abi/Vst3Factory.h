#pragma once
#include "hosts/vst3/abi/Vst3Structures.h"
#include "hosts/vst3/abi/Vst3Unknown.h"

namespace vst3 {

class IPluginFactory : public FUnknown {
public:
    static constexpr Uid iid = Uid::Make(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);
    virtual tresult VST3_API getFactoryInfo(PFactoryInfo* info) = 0;
    virtual int32 VST3_API countClasses() = 0;
    virtual tresult VST3_API getClassInfo(int32 index, PClassInfo* info) = 0;
    // cid and iid point at 16 raw bytes each.
    virtual tresult VST3_API createInstance(FIDString cid, FIDString iid, void** obj) = 0;

protected:
    ~IPluginFactory() = default;
};

class IPluginFactory2 : public IPluginFactory {
public:
    static constexpr Uid iid = Uid::Make(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);
    virtual tresult VST3_API getClassInfo2(int32 index, PClassInfo2* info) = 0;

protected:
    ~IPluginFactory2() = default;
};

class IPluginFactory3 : public IPluginFactory2 {
public:
    static constexpr Uid iid = Uid::Make(0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931);
    virtual tresult VST3_API getClassInfoUnicode(int32 index, PClassInfoW* info) = 0;
    virtual tresult VST3_API setHostContext(FUnknown* context) = 0;

protected:
    ~IPluginFactory3() = default;
};

}  // namespace vst3
