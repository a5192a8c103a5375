#include "hosts/vst3/KAudioPluginVST3Adapter.h"

#include <cmath>

#include "foundation/core/Guard.h"
#include "hosts/common/KLibrary.h"
#include "hosts/vst3/KVST3Text.h"

KAudioPluginVST3Adapter::KAudioPluginVST3Adapter(std::unique_ptr<KHostedPlugin> plugin)
    : m_plugin(std::move(plugin)) {}

// The plug-in goes first: it may still call back into the bridge while it
// shuts down its editor and effect.
KAudioPluginVST3Adapter::~KAudioPluginVST3Adapter() {
    m_plugin.reset();
    ReplaceHandler(nullptr);
    if (m_hostContext) m_hostContext->release();
    if (m_counted) KPluginInstanceDestroyed(KPluginFormat::Vst3);
}

vst3::FUnknown* KAudioPluginVST3Adapter::FindInterface(const char* iid) noexcept {
    using namespace vst3;
    if (KVST3::Is<FUnknown>(iid) || KVST3::Is<IPluginBase>(iid) || KVST3::Is<IComponent>(iid))
        return static_cast<IComponent*>(this);
    if (KVST3::Is<IAudioProcessor>(iid)) return static_cast<IAudioProcessor*>(this);
    if (KVST3::Is<IProcessContextRequirements>(iid)) return static_cast<IProcessContextRequirements*>(this);
    if (KVST3::Is<IEditController>(iid)) return static_cast<IEditController*>(this);
    if (KVST3::Is<IMidiMapping>(iid)) return static_cast<IMidiMapping*>(this);
    if (KVST3::Is<IUnitInfo>(iid)) return static_cast<IUnitInfo*>(this);
    if (KVST3::Is<IConnectionPoint>(iid)) return static_cast<IConnectionPoint*>(this);
    return nullptr;
}

vst3::tresult KAudioPluginVST3Adapter::queryInterface(const char* iid, void** obj) {
    return KVST3::Answer(iid ? FindInterface(iid) : nullptr, obj);
}

vst3::uint32 KAudioPluginVST3Adapter::addRef() { return m_references.Add(); }

vst3::uint32 KAudioPluginVST3Adapter::release() {
    const vst3::uint32 left = m_references.Drop();
    if (left == 0) delete this;
    return left;
}

vst3::tresult KAudioPluginVST3Adapter::initialize(vst3::FUnknown* context) {
    // Hosts reach initialize through both the component and the controller;
    // the second call finds the one object already set up.
    if (m_initialized) return vst3::kResultOk;
    return KGuard::Run("KAudioPluginVST3Adapter::initialize", vst3::kResultFalse, [&] {
        m_initialized = true;
        if (context) {
            context->addRef();
            m_hostContext = context;
        }
        ReadHostName(context);
        KPluginInstanceCreated(KPluginFormat::Vst3);
        m_counted = true;
        m_plugin->SetHostAdapter(this);
        m_inputArrangement = m_outputArrangement = vst3::SpeakerArr::kStereo;
        m_plugin->SetHostChannels(2, 2);
        BuildAudioBuses();
        BuildEventBuses();
        RegisterParameters();
        m_plugin->SetSampleRate(44100.0);
        m_plugin->InitProcessing();
        return vst3::kResultOk;
    });
}

void KAudioPluginVST3Adapter::ReadHostName(vst3::FUnknown* context) {
    vst3::IHostApplication* application = KVST3::Query<vst3::IHostApplication>(context);
    if (!application) return;
    vst3::String128 name{};
    if (application->getName(name) == vst3::kResultOk) m_hostName = KVST3::FromHost(name);
    application->release();
}

// Host objects are let go here; the plug-in stays until the last release.
vst3::tresult KAudioPluginVST3Adapter::terminate() {
    return KGuard::Run("KAudioPluginVST3Adapter::terminate", vst3::kResultFalse, [&] {
        ReplaceHandler(nullptr);
        if (m_hostContext) m_hostContext->release();
        m_hostContext = nullptr;
        m_peer = nullptr;
        return vst3::kResultOk;
    });
}

// Processor and controller are this one object: there is no separate
// controller class to name.
vst3::tresult KAudioPluginVST3Adapter::getControllerClassId(char*) { return vst3::kNotImplemented; }

vst3::tresult KAudioPluginVST3Adapter::setIoMode(vst3::IoMode) { return vst3::kNotImplemented; }

// A peer is remembered without a reference of its own: hosts that connect
// this object to itself would otherwise keep it alive for ever.
vst3::tresult KAudioPluginVST3Adapter::connect(vst3::IConnectionPoint* other) {
    if (!other) return vst3::kInvalidArgument;
    if (m_peer) return vst3::kResultFalse;
    m_peer = other;
    return vst3::kResultOk;
}

vst3::tresult KAudioPluginVST3Adapter::disconnect(vst3::IConnectionPoint* other) {
    if (!other || other != m_peer) return vst3::kInvalidArgument;
    m_peer = nullptr;
    return vst3::kResultOk;
}

// Nothing travels between the halves of one object.
vst3::tresult KAudioPluginVST3Adapter::notify(vst3::IMessage* message) {
    return message ? vst3::kResultFalse : vst3::kInvalidArgument;
}

vst3::uint32 KAudioPluginVST3Adapter::TailAnswer(int tailSamples) noexcept {
    return tailSamples < 0 ? vst3::kInfiniteTail : vst3::uint32(tailSamples);
}

double KAudioPluginVST3Adapter::RoundedSampleRate(double rate) noexcept { return std::floor(rate + 0.5); }
