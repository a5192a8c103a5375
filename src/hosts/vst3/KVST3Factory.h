#pragma once
#include "hosts/vst3/KVST3Unknown.h"
#include "hosts/vst3/abi/Vst3Factory.h"

// The module's factory: describes the one class and creates its instances.
// One factory exists per process while hosts hold references to it.
class KVST3Factory final : public vst3::IPluginFactory3 {
public:
    // The existing factory with one more reference, or a new one.
    static KVST3Factory* Acquire();

    vst3::tresult VST3_API queryInterface(const char* iid, void** obj) override;
    vst3::uint32 VST3_API addRef() override;
    vst3::uint32 VST3_API release() override;

    vst3::tresult VST3_API getFactoryInfo(vst3::PFactoryInfo* info) override;
    vst3::int32 VST3_API countClasses() override;
    vst3::tresult VST3_API getClassInfo(vst3::int32 index, vst3::PClassInfo* info) override;
    vst3::tresult VST3_API createInstance(vst3::FIDString cid, vst3::FIDString iid, void** obj) override;
    vst3::tresult VST3_API getClassInfo2(vst3::int32 index, vst3::PClassInfo2* info) override;
    vst3::tresult VST3_API getClassInfoUnicode(vst3::int32 index, vst3::PClassInfoW* info) override;
    vst3::tresult VST3_API setHostContext(vst3::FUnknown* context) override;

private:
    KVST3Factory() = default;
    ~KVST3Factory() = default;

    KVST3RefCount m_references;
};
