#include "hosts/vst3/Vst3TestHost.h"

#include <dlfcn.h>

#include <cmath>
#include <stdexcept>

namespace vst3test {

LoadedModule& LoadedModule::Get() {
    static LoadedModule module;
    return module;
}

LoadedModule::LoadedModule() {
    m_handle = dlopen(HALVANE_VST3_MODULE, RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) return;
    auto entry = reinterpret_cast<bool (*)(void*)>(dlsym(m_handle, "ModuleEntry"));
    if (!entry || !entry(m_handle)) return;
    m_getFactory = reinterpret_cast<GetFactoryFunction>(dlsym(m_handle, "GetPluginFactory"));
}

vst3::IPluginFactory* LoadedModule::Factory() const { return m_getFactory ? m_getFactory() : nullptr; }

Instance::Instance() {
    vst3::IPluginFactory* factory = LoadedModule::Get().Factory();
    if (!factory) throw std::runtime_error("The module did not load.");
    vst3::PClassInfo info{};
    factory->getClassInfo(0, &info);
    void* object = nullptr;
    factory->createInstance(info.cid, Iid<vst3::IComponent>(), &object);
    factory->release();
    component = static_cast<vst3::IComponent*>(object);
    if (!component) throw std::runtime_error("No component.");
    component->queryInterface(Iid<vst3::IAudioProcessor>(), reinterpret_cast<void**>(&processor));
    component->queryInterface(Iid<vst3::IEditController>(), reinterpret_cast<void**>(&controller));
    for (auto& channel : inputs) {
        channel.resize(kFrames);
        for (int s = 0; s < kFrames; ++s) channel[std::size_t(s)] = float(0.5 * std::sin(2 * M_PI * 440 * s / 48000));
    }
    for (auto& channel : outputs) channel.assign(kFrames, 0.0f);
}

Instance::~Instance() {
    if (controller) controller->release();
    if (processor) processor->release();
    if (component) component->release();
}

void Instance::Start(double sampleRate) {
    component->initialize(&host);
    vst3::ProcessSetup setup{vst3::kRealtime, vst3::kSample32, kFrames, sampleRate};
    processor->setupProcessing(setup);
    component->setActive(true);
    processor->setProcessing(true);
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
