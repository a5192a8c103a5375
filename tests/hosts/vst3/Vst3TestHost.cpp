#include "hosts/vst3/Vst3TestHost.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cmath>
#include <cstring>
#include <numbers>
#include <stdexcept>

namespace vst3test {

namespace {

using ModuleHook = bool (*)();

#if defined(_WIN32)
constexpr const char* kBinaryFolder = "Contents/x86_64-win/";
constexpr const char* kBinaryExtension = ".vst3";

// Paths are UTF-8 here; the module's name is widened for LoadLibraryW.
void* OpenModule(const std::string& path, std::string& failure) {
    std::wstring wide(std::size_t(MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), int(wide.size()));
    void* module = LoadLibraryW(wide.c_str());
    if (!module) failure = "LoadLibraryW failed with error " + std::to_string(GetLastError());
    return module;
}
void* FindExport(void* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}
// InitDll and ExitDll are optional on Windows; a host calls them when they are
// exported.
bool Enter(void* module) {
    auto hook = reinterpret_cast<ModuleHook>(FindExport(module, "InitDll"));
    return !hook || hook();
}
void Leave(void* module) {
    if (auto hook = reinterpret_cast<ModuleHook>(FindExport(module, "ExitDll"))) hook();
}
void CloseModule(void* module) { FreeLibrary(static_cast<HMODULE>(module)); }
#else
constexpr const char* kBinaryFolder = "Contents/x86_64-linux/";
constexpr const char* kBinaryExtension = ".so";

void* OpenModule(const std::string& path, std::string& failure) {
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) failure = dlerror();
    return module;
}
void* FindExport(void* module, const char* name) { return dlsym(module, name); }
// Linux hosts refuse a module without ModuleEntry and ModuleExit.
bool Enter(void* module) {
    auto hook = reinterpret_cast<bool (*)(void*)>(FindExport(module, "ModuleEntry"));
    return hook && hook(module);
}
void Leave(void* module) {
    if (auto hook = reinterpret_cast<ModuleHook>(FindExport(module, "ModuleExit"))) hook();
}
void CloseModule(void* module) { dlclose(module); }
#endif

// The class hosts instantiate is the one of the audio-effect category.
bool FindAudioEffectClass(vst3::IPluginFactory& factory, vst3::PClassInfo& info) {
    for (vst3::int32 i = 0; i < factory.countClasses(); ++i)
        if (factory.getClassInfo(i, &info) == vst3::kResultOk &&
            std::strcmp(info.category, vst3::kVstAudioEffectClass) == 0)
            return true;
    return false;
}

}  // namespace

std::string BundleBinary(std::string bundle) {
    while (bundle.size() > 1 && (bundle.back() == '/' || bundle.back() == '\\')) bundle.pop_back();
    const std::string name = bundle.substr(bundle.find_last_of("/\\") + 1);
    const std::string stem = name.substr(0, name.rfind(".vst3"));
    return bundle + "/" + kBinaryFolder + stem + kBinaryExtension;
}

LoadedModule::LoadedModule(const std::string& binaryPath) {
    m_handle = OpenModule(binaryPath, m_failure);
    if (!m_handle) return;
    m_entered = Enter(m_handle);
    if (!m_entered) {
        m_failure = "The module's entry hook refused to start.";
        return;
    }
    m_getFactory = reinterpret_cast<GetFactoryFunction>(FindExport(m_handle, "GetPluginFactory"));
    if (!m_getFactory) m_failure = "The module exports no GetPluginFactory.";
}

LoadedModule::~LoadedModule() {
    if (!m_handle) return;
    if (m_entered) Leave(m_handle);
    CloseModule(m_handle);
}

vst3::IPluginFactory* LoadedModule::Factory() const { return m_getFactory ? m_getFactory() : nullptr; }

Instance::Instance(const LoadedModule& module, int maxFrames) : m_maxFrames(maxFrames) {
    vst3::IPluginFactory* factory = module.Factory();
    if (!factory) throw std::runtime_error("The module did not load. " + module.Failure());
    vst3::PClassInfo info{};
    const bool found = FindAudioEffectClass(*factory, info);
    void* object = nullptr;
    if (found) factory->createInstance(info.cid, Iid<vst3::IComponent>(), &object);
    factory->release();
    if (!found) throw std::runtime_error("The factory offers no audio-effect class.");
    component = static_cast<vst3::IComponent*>(object);
    if (!component) throw std::runtime_error("No component.");
    component->queryInterface(Iid<vst3::IAudioProcessor>(), reinterpret_cast<void**>(&processor));
    component->queryInterface(Iid<vst3::IEditController>(), reinterpret_cast<void**>(&controller));
    for (auto& channel : inputs) {
        channel.resize(std::size_t(maxFrames));
        for (int s = 0; s < maxFrames; ++s)
            channel[std::size_t(s)] = float(0.5 * std::sin(2 * std::numbers::pi * 440 * s / 48000));
    }
    for (auto& channel : outputs) channel.assign(std::size_t(maxFrames), 0.0f);
}

Instance::~Instance() {
    if (controller) controller->release();
    if (processor) processor->release();
    if (component) component->release();
}

void Instance::Initialize() {
    if (m_initialized) return;
    component->initialize(&host);
    m_initialized = true;
}

void Instance::Start(double sampleRate) {
    Initialize();
    vst3::ProcessSetup setup{vst3::kRealtime, vst3::kSample32, m_maxFrames, sampleRate};
    processor->setupProcessing(setup);
    component->setActive(true);
    processor->setProcessing(true);
}

void Instance::Stop() {
    processor->setProcessing(false);
    component->setActive(false);
    component->terminate();
}

vst3::tresult Instance::Process(int frames, ParameterChanges* changes, EventList* in, EventList* out,
                                vst3::ProcessContext* context) {
    float* inputPointers[2] = {inputs[0].data(), inputs[1].data()};
    float* outputPointers[2] = {outputs[0].data(), outputs[1].data()};
    vst3::AudioBusBuffers inputBus{};
    inputBus.numChannels = 2;
    inputBus.channelBuffers32 = inputPointers;
    vst3::AudioBusBuffers outputBus{};
    outputBus.numChannels = 2;
    outputBus.channelBuffers32 = outputPointers;
    vst3::ProcessData data{};
    data.processMode = vst3::kRealtime;
    data.symbolicSampleSize = vst3::kSample32;
    data.numSamples = frames;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &inputBus;
    data.outputs = &outputBus;
    data.inputParameterChanges = changes;
    data.inputEvents = in;
    data.outputEvents = out;
    data.processContext = context;
    return processor->process(data);
}

vst3::ParamID Instance::ContinuousParameter() {
    vst3::ParameterInfo info{};
    for (int i = 0; controller->getParameterInfo(i, info) == vst3::kResultOk; ++i)
        if (info.id < 10000 && info.stepCount == 0) return info.id;
    throw std::runtime_error("No continuous parameter.");
}

}  // namespace vst3test
