#pragma once
// A small VST 3 host: it loads the bundle's module with dlopen and reaches
// the plug-in only through GetPluginFactory and the interfaces.
#include <vector>

#include "hosts/vst3/Vst3HostObjects.h"
#include "hosts/vst3/abi/Vst3Factory.h"

namespace vst3test {

template <class Interface>
const char* Iid() {
    return reinterpret_cast<const char*>(Interface::iid.bytes.data());
}

// The module stays loaded for the whole test program, as in a host.
class LoadedModule {
public:
    static LoadedModule& Get();
    // A new reference to the module's factory.
    vst3::IPluginFactory* Factory() const;
    bool Loaded() const { return m_getFactory != nullptr; }

private:
    LoadedModule();
    using GetFactoryFunction = vst3::IPluginFactory* (*)();
    void* m_handle = nullptr;
    GetFactoryFunction m_getFactory = nullptr;
};

// One plug-in instance with the interfaces a host uses, stereo buffers of
// `frames` samples, and every reference released at the end.
class Instance {
public:
    static constexpr int kFrames = 256;

    Instance();
    ~Instance();
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    // initialize, setupProcessing, setActive(true), setProcessing(true).
    void Start(double sampleRate = 48000.0);
    // One block; the inputs hold a 440 Hz tone unless `input` is given.
    vst3::tresult Process(int frames = kFrames, ParameterChanges* changes = nullptr, EventList* in = nullptr,
                          EventList* out = nullptr, vst3::ProcessContext* context = nullptr);
    // The first plug-in parameter that takes continuous values.
    vst3::ParamID ContinuousParameter();

    vst3::IComponent* component = nullptr;
    vst3::IAudioProcessor* processor = nullptr;
    vst3::IEditController* controller = nullptr;
    HostApplication host;
    std::vector<float> inputs[2], outputs[2];
};

}  // namespace vst3test
