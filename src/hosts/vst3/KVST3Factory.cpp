#include "hosts/vst3/KVST3Factory.h"

#include <mutex>

#include "foundation/core/Guard.h"
#include "hosts/common/KHostedPlugin.h"
#include "hosts/common/KLibrary.h"
#include "hosts/vst3/KAudioPluginVST3Adapter.h"
#include "hosts/vst3/KVST3ClassInfo.h"

namespace {

std::mutex g_factoryMutex;
KVST3Factory* g_factory = nullptr;

vst3::tresult CreatePlugin(const char* iid, void** obj) {
    KStartLibrarySubsystems();
    auto* adapter = new KAudioPluginVST3Adapter(KHostedPlugin::Create());
    // The creation reference goes; the host keeps the one it asked for.
    const vst3::tresult result = adapter->queryInterface(iid, obj);
    adapter->release();
    return result;
}

}  // namespace

KVST3Factory* KVST3Factory::Acquire() {
    std::lock_guard hold(g_factoryMutex);
    if (g_factory)
        g_factory->addRef();
    else
        g_factory = new KVST3Factory;
    return g_factory;
}

vst3::tresult KVST3Factory::queryInterface(const char* iid, void** obj) {
    using namespace vst3;
    const bool known = KVST3::Is<FUnknown>(iid) || KVST3::Is<IPluginFactory>(iid) ||
                       KVST3::Is<IPluginFactory2>(iid) || KVST3::Is<IPluginFactory3>(iid);
    return KVST3::Answer(iid && known ? this : nullptr, obj);
}

vst3::uint32 KVST3Factory::addRef() { return m_references.Add(); }

vst3::uint32 KVST3Factory::release() {
    std::lock_guard hold(g_factoryMutex);
    const vst3::uint32 left = m_references.Drop();
    if (left == 0) {
        g_factory = nullptr;
        delete this;
    }
    return left;
}

vst3::tresult KVST3Factory::getFactoryInfo(vst3::PFactoryInfo* info) {
    if (!info) return vst3::kInvalidArgument;
    KVST3ClassInfo::FillFactoryInfo(*info);
    return vst3::kResultOk;
}

vst3::int32 KVST3Factory::countClasses() { return 1; }

vst3::tresult KVST3Factory::getClassInfo(vst3::int32 index, vst3::PClassInfo* info) {
    if (index != 0 || !info) return vst3::kInvalidArgument;
    KVST3ClassInfo::FillClassInfo(*info);
    return vst3::kResultOk;
}

vst3::tresult KVST3Factory::getClassInfo2(vst3::int32 index, vst3::PClassInfo2* info) {
    if (index != 0 || !info) return vst3::kInvalidArgument;
    KVST3ClassInfo::FillClassInfo(*info);
    return vst3::kResultOk;
}

vst3::tresult KVST3Factory::getClassInfoUnicode(vst3::int32 index, vst3::PClassInfoW* info) {
    if (index != 0 || !info) return vst3::kInvalidArgument;
    KVST3ClassInfo::FillClassInfo(*info);
    return vst3::kResultOk;
}

vst3::tresult KVST3Factory::createInstance(vst3::FIDString cid, vst3::FIDString iid, void** obj) {
    if (!obj) return vst3::kInvalidArgument;
    *obj = nullptr;
    if (!cid || !iid || !KVST3ClassInfo::ClassID().Matches(cid)) return vst3::kNoInterface;
    return KGuard::Run("VST3 Plugin main", vst3::kOutOfMemory, [&] { return CreatePlugin(iid, obj); });
}

// The plug-in has no editor that would need the host's run loop.
vst3::tresult KVST3Factory::setHostContext(vst3::FUnknown*) { return vst3::kResultOk; }
