#pragma once
// A small VST 3 host: it loads the module (dlopen on Linux, LoadLibraryW on
// Windows) and reaches the plug-in only through the module's exports,
// GetPluginFactory and the interfaces.
#include <string>
#include <vector>

#include "hosts/vst3/Vst3HostObjects.h"
#include "hosts/vst3/abi/Vst3Factory.h"

namespace vst3test {

template <class Interface>
const char* Iid() {
    return reinterpret_cast<const char*>(Interface::iid.bytes.data());
}

// The binary a host loads from a bundle folder: on Linux
// Contents/x86_64-linux/<name>.so, on Windows Contents/x86_64-win/<name>.vst3,
// where <name>.vst3 is the bundle's own name.
std::string BundleBinary(std::string bundle);

// A loaded module whose entry hook (ModuleEntry, or InitDll where exported)
// accepted; the destructor calls the exit hook and unloads it.
class LoadedModule {
public:
    explicit LoadedModule(const std::string& binaryPath);
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

#if defined(HALVANE_VST3_MODULE)
    // The built module, loaded once and kept for the whole test program, as
    // in a host.
    static LoadedModule& Get() {
        static LoadedModule* const module = new LoadedModule(HALVANE_VST3_MODULE);
        return *module;
    }
#endif
    // A new reference to the module's factory.
    vst3::IPluginFactory* Factory() const;
    bool Loaded() const { return m_getFactory != nullptr; }
    // Why the module is not loaded.
    const std::string& Failure() const { return m_failure; }

private:
    using GetFactoryFunction = vst3::IPluginFactory* (*)();
    void* m_handle = nullptr;
    bool m_entered = false;
    GetFactoryFunction m_getFactory = nullptr;
    std::string m_failure;
};

// One plug-in instance of the module's audio-effect class with the
// interfaces a host uses, stereo buffers of `maxFrames` samples, and every
// reference released at the end.
class Instance {
public:
    static constexpr int kFrames = 256;

#if defined(HALVANE_VST3_MODULE)
    Instance() : Instance(LoadedModule::Get()) {}
#endif
    explicit Instance(const LoadedModule& module, int maxFrames = kFrames);
    ~Instance();
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    // initialize with the host context, once.
    void Initialize();
    // Initialize, setupProcessing, setActive(true), setProcessing(true).
    void Start(double sampleRate = 48000.0);
    // A host's shutdown: setProcessing(false), setActive(false), terminate.
    void Stop();
    // One block; the inputs hold a 440 Hz tone unless the caller fills them.
    vst3::tresult Process(int frames = kFrames, ParameterChanges* changes = nullptr, EventList* in = nullptr,
                          EventList* out = nullptr, vst3::ProcessContext* context = nullptr);
    // The first plug-in parameter that takes continuous values.
    vst3::ParamID ContinuousParameter();

    vst3::IComponent* component = nullptr;
    vst3::IAudioProcessor* processor = nullptr;
    vst3::IEditController* controller = nullptr;
    HostApplication host;
    std::vector<float> inputs[2], outputs[2];

private:
    int m_maxFrames;
    bool m_initialized = false;
};

}  // namespace vst3test
