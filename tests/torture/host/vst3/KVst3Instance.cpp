#include "vst3/KVst3Instance.h"

#include <algorithm>
#include <stdexcept>

#include "KHostWindow.h"
#include "hosts/vst3/abi/Vst3View.h"

using namespace vst3;

namespace {

template <class Interface>
const char* Iid() {
    return reinterpret_cast<const char*>(Interface::iid.bytes.data());
}

std::string Narrow(const TChar* text) {
    std::string narrow;
    for (int i = 0; i < 128 && text[i]; ++i) narrow += text[i] < 128 ? char(text[i]) : '?';
    return narrow;
}

// Bytes widened one by one: broken UTF-8 reaches the plug-in as it came.
void Widen(const std::string& text, String128 wide) {
    std::size_t i = 0;
    for (; i < text.size() && i < 127; ++i) wide[i] = TChar(std::uint8_t(text[i]));
    wide[i] = 0;
}

}  // namespace

KVst3Instance::KVst3Instance(IPluginFactory& factory, int index, KTortureFailure& failure, KTortureCounters& counters)
    : KTortureInstance(index, failure, counters) {
    PClassInfo info{};
    factory.getClassInfo(0, &info);
    void* object = nullptr;
    factory.createInstance(info.cid, Iid<IComponent>(), &object);
    m_component = static_cast<IComponent*>(object);
    if (!m_component) throw std::runtime_error("The factory made no component.");
    m_component->queryInterface(Iid<IAudioProcessor>(), reinterpret_cast<void**>(&m_processor));
    m_component->queryInterface(Iid<IEditController>(), reinterpret_cast<void**>(&m_controller));
    if (!m_processor || !m_controller) throw std::runtime_error("The component is no processor and controller.");
    Counters().Call();
    m_component->initialize(&m_host);
    m_controller->setComponentHandler(&m_handler);
    for (int i = 0; i < m_controller->getParameterCount(); ++i) {
        ParameterInfo parameter{};
        m_controller->getParameterInfo(i, parameter);
        m_ids.push_back(parameter.id);
        if (parameter.flags & kIsBypass) m_bypassId = parameter.id, m_hasBypass = true;
        if (parameter.flags & kIsProgramChange) m_programId = parameter.id, m_hasProgram = true;
    }
    ApplySetup(SampleRate(), BlockSize());
    Activate();
    StartAudio();
}

KVst3Instance::~KVst3Instance() {
    StopAudio();
    Deactivate();
    m_controller->setComponentHandler(nullptr);
    m_component->terminate();
    m_controller->release();
    m_processor->release();
    m_component->release();
}

int KVst3Instance::ParameterCount() { return int(m_ids.size()); }

std::string KVst3Instance::ParameterName(int index) {
    ParameterInfo info{};
    Counters().Call();
    if (m_controller->getParameterInfo(index, info) != kResultOk) return std::string();
    return Narrow(info.title);
}

void KVst3Instance::QueueChange(ParamID id, double value) {
    std::lock_guard hold(m_pendingLock);
    m_pending.emplace_back(id, value);
}

void KVst3Instance::SetParameter(int index, double value) {
    Counters().Call();
    m_controller->setParamNormalized(IdOf(index), value);
    QueueChange(IdOf(index), value);
}

double KVst3Instance::GetParameter(int index) {
    Counters().Call();
    return m_controller->getParamNormalized(IdOf(index));
}

void KVst3Instance::ReadParameterTexts(int index) {
    ParameterInfo info{};
    String128 text{};
    Counters().Call();
    m_controller->getParameterInfo(index, info);
    m_controller->getParamStringByValue(IdOf(index), m_controller->getParamNormalized(IdOf(index)), text);
    m_controller->normalizedParamToPlain(IdOf(index), 0.5);
    m_controller->plainParamToNormalized(IdOf(index), 1000.0);
}

void KVst3Instance::TypeText(int index, const std::string& text) {
    String128 wide{};
    Widen(text, wide);
    ParamValue value = -1;
    Counters().Call();
    // A host applies what the plug-in read from the text.
    if (m_controller->getParamValueByString(IdOf(index), wide, value) == kResultOk) SetParameter(index, value);
}

std::vector<std::uint8_t> KVst3Instance::SaveState() {
    vst3test::MemoryStream stream;
    Counters().Call();
    if (m_component->getState(&stream) != kResultOk) return {};
    return stream.bytes;
}

void KVst3Instance::LoadStateBytes(const std::vector<std::uint8_t>& state) {
    vst3test::MemoryStream stream;
    stream.bytes = state;
    Counters().Call();
    m_component->setState(&stream);
    // Hosts hand the controller the same block.
    stream.Rewind();
    m_controller->setComponentState(&stream);
}

void KVst3Instance::SetBypass(bool bypass) {
    if (m_hasBypass) QueueChange(m_bypassId, bypass ? 1.0 : 0.0);
}

void KVst3Instance::Deactivate() {
    Counters().Call();
    m_processor->setProcessing(false);
    m_component->setActive(false);
}

void KVst3Instance::Activate() {
    Counters().Call();
    m_component->setActive(true);
    m_processor->setProcessing(true);
}

void KVst3Instance::ApplySetup(float sampleRate, int blockSize) {
    ProcessSetup setup{kRealtime, kSample32, blockSize, sampleRate};
    Counters().Call();
    m_processor->setupProcessing(setup);
}

// Out of order on purpose: the set-up belongs to inactive processors.
void KVst3Instance::ApplySampleRateWhileRunning(float sampleRate) { ApplySetup(sampleRate, BlockSize()); }

int KVst3Instance::ReportedLatency() { return int(m_processor->getLatencySamples()); }

void KVst3Instance::SwitchProgram(KTortureRandom& random) {
    if (m_hasProgram) QueueChange(m_programId, random.Unit());
}

void KVst3Instance::Queries(KTortureRandom& random) {
    Counters().Call();
    BusInfo bus{};
    for (MediaType type : {kAudio, kEvent})
        for (BusDirection direction : {kInput, kOutput})
            for (int i = 0; i < m_component->getBusCount(type, direction) + 1; ++i)
                m_component->getBusInfo(type, direction, i, bus);
    m_processor->getTailSamples();
    m_processor->canProcessSampleSize(random.Chance(0.5) ? kSample32 : kSample64);
    char controllerClass[16];
    m_component->getControllerClassId(controllerClass);
}

void KVst3Instance::ExerciseEditor(KTortureRandom& random, KHostWindow& window) {
    Counters().Call();
    IPlugView* view = m_controller->createView("editor");
    if (!view) return;
    ViewRect size{};
    view->getSize(&size);
    if (view->isPlatformTypeSupported("X11EmbedWindowID") == kResultOk &&
        view->attached(window.Handle(), "X11EmbedWindowID") == kResultOk) {
        for (int idle = random.Between(0, 5); idle > 0; --idle) window.Pump();
        view->removed();
    }
    view->release();
}

void KVst3Instance::AddChanges(vst3test::ParameterChanges& changes, KTortureRandom& random, int frames, bool events) {
    {
        std::lock_guard hold(m_pendingLock);
        for (const auto& [id, value] : m_pending) changes.Add(id, {{0, value}});
        m_pending.clear();
    }
    if (!events || m_ids.empty()) return;
    // Sample-accurate automation, now and then with points out of order or
    // outside the block.
    for (int queue = random.Below(4); queue > 0; --queue) {
        std::vector<std::pair<int32, double>> points;
        int32 offset = 0;
        for (int point = random.Between(1, 4); point > 0; --point) {
            offset = random.Chance(0.95) ? std::min(frames - 1, offset + random.Below(frames)) : random.Between(-8, frames + 8);
            points.emplace_back(offset, random.Chance(0.95) ? random.Unit() : random.Between(-1, 2));
        }
        changes.Add(m_ids[std::size_t(random.Below(std::min(int(m_ids.size()), 16)))], std::move(points));
    }
}

void KVst3Instance::AddEvents(vst3test::EventList& events, KTortureRandom& random, int frames) {
    for (int count = random.Below(5); count > 0; --count) {
        Event event{};
        event.sampleOffset = random.Chance(0.95) ? random.Below(frames) : random.Between(-4, frames + 4);
        // Notes mostly; now and then raw MIDI bytes in a data event, or a
        // type the plug-in does not know.
        const int kind = random.Below(20);
        event.type = kind < 18 ? uint16(kind % 2) : kind == 18 ? uint16(kDataEvent) : uint16(random.Between(3, 16));
        if (event.type == kDataEvent) {
            for (std::uint8_t& byte : m_dataBytes) byte = std::uint8_t(random.Below(256));
            event.data.bytes = m_dataBytes.data();
            event.data.size = uint32(random.Below(int(m_dataBytes.size()) + 1));
        } else {
            event.noteOn.channel = int16(random.Below(16));
            event.noteOn.pitch = int16(random.Chance(0.95) ? random.Below(128) : random.Between(-5, 300));
            event.noteOn.velocity = float(random.Unit());
            event.noteOn.noteId = -1;
        }
        events.events.push_back(event);
    }
}

void KVst3Instance::ProcessAudio(float** inputs, float** outputs, int frames, Buffers buffers, bool events,
                                 KTortureRandom& random) {
    // VST 3 hosts give every channel a buffer; a mono source feeds both.
    float* inputPointers[kChannels] = {inputs[0], inputs[1] ? inputs[1] : inputs[0]};
    AudioBusBuffers inputBus{};
    inputBus.numChannels = kChannels;
    inputBus.channelBuffers32 = inputPointers;
    AudioBusBuffers outputBus{};
    outputBus.numChannels = kChannels;
    outputBus.channelBuffers32 = outputs;
    vst3test::ParameterChanges changes;
    AddChanges(changes, random, frames, events);
    vst3test::EventList inputEvents;
    vst3test::EventList outputEvents;
    if (events) AddEvents(inputEvents, random, frames);
    m_context.sampleRate = SampleRate();
    m_context.projectTimeSamples += frames;
    m_context.tempo = events ? 60 + random.Below(180) : 120;
    m_context.state = kTempoValid | (events && random.Chance(0.8) ? uint32(kPlaying) : 0u);

    ProcessData data{};
    data.processMode = kRealtime;
    data.symbolicSampleSize = kSample32;
    data.numSamples = frames;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &inputBus;
    data.outputs = &outputBus;
    data.inputParameterChanges = &changes;
    data.inputEvents = &inputEvents;
    data.outputEvents = &outputEvents;
    data.processContext = &m_context;
    (void)buffers;  // in place or separate: the pointers say; VST 3 has no accumulating entry
    Counters().Call();
    m_processor->process(data);
}
