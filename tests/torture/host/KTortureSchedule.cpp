#include "KTortureSchedule.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "KCraftedState.h"
#include "KHostWindow.h"
#include "hosts/vst2/abi/VstEditor.h"
#include "hosts/vst2/abi/VstOpcodes.h"

using namespace Vst2;

namespace {

constexpr std::size_t kMostStates = 16;

float NormalisedValue(KTortureRandom& random) {
    static const float kEdges[] = {0.0f, 1.0f, -0.0001f, 1.0001f, -1.0f, 2.0f, std::nextafter(1.0f, 2.0f),
                                   std::numeric_limits<float>::quiet_NaN(),
                                   std::numeric_limits<float>::infinity(),
                                   -std::numeric_limits<float>::infinity(),
                                   std::numeric_limits<float>::denorm_min()};
    return random.Chance(0.7) ? float(random.Unit()) : random.Pick(kEdges);
}

int ParameterIndex(KVst2Instance& instance, KTortureRandom& random) {
    const int count = instance.Effect().numParams;
    // Now and then an index the plug-in does not have.
    if (random.Chance(0.01)) return random.Chance(0.5) ? count : -1;
    // The oscillators' own parameters come first and matter most.
    return random.Chance(0.5) ? random.Below(std::min(count, 16)) : random.Below(count);
}

std::string TypedText(KTortureRandom& random) {
    static const char* const kTexts[] = {"0", "1", "-5", "1000", "440 Hz", "50%", "100", "0.5", "On", "Off",
                                         "Sine", "nan", "inf", "-inf", "1e308", "1e-320", "", " ", "abc",
                                         "12 kHz", "-0", "99999999999999999999", "90°", "Mid", "\xC3\xA9\xE2\x82\xAC",
                                         "\xFF\xFE", "{0}", "%s%s%n"};
    if (random.Chance(0.1)) return std::string(std::size_t(random.Between(100, 600)), char(random.Between('0', 'z')));
    if (random.Chance(0.3)) return std::to_string(random.Unit() * random.Between(-100, 20000));
    return random.Pick(kTexts);
}

}  // namespace

KTortureSchedule::KTortureSchedule(KVst2Entry entry, std::uint64_t seed, int instanceCount, bool trace)
    : m_entry(entry), m_seed(seed), m_trace(trace) {
    for (int i = 0; i < instanceCount; ++i)
        m_instances.push_back(std::make_unique<KVst2Instance>(entry, i, m_failure, m_counters));
}

KTortureSchedule::~KTortureSchedule() = default;

const std::vector<KTortureSchedule::WeightedAction>& KTortureSchedule::Actions() {
    static const std::vector<WeightedAction> actions = {
        {40, &KTortureSchedule::Blocks, "Blocks"},        {20, &KTortureSchedule::Parameter, "Parameter"},
        {1, &KTortureSchedule::AutomateMany, "AutomateMany"},   {4, &KTortureSchedule::ParameterTexts, "ParameterTexts"},
        {8, &KTortureSchedule::TypeText, "TypeText"},       {4, &KTortureSchedule::SaveState, "SaveState"},
        {4, &KTortureSchedule::RestoreState, "RestoreState"},   {4, &KTortureSchedule::CraftedState, "CraftedState"},
        {2, &KTortureSchedule::DamagedState, "DamagedState"},   {3, &KTortureSchedule::Bypass, "Bypass"},
        {2, &KTortureSchedule::SuspendResume, "SuspendResume"},  {3, &KTortureSchedule::Reconfigure, "Reconfigure"},
        {1, &KTortureSchedule::RateWhileRunning, "RateWhileRunning"}, {2, &KTortureSchedule::Program, "Program"},
        {3, &KTortureSchedule::Queries, "Queries"},        {1, &KTortureSchedule::Replace, "Replace"},
        {2, &KTortureSchedule::Editor, "Editor"},
    };
    return actions;
}

bool KTortureSchedule::Step(std::uint64_t step) {
    m_failure.EnterStep(step);
    KTortureRandom random = KTortureRandom::ForStep(m_seed, step);
    KVst2Instance& instance = *m_instances[std::size_t(random.Below(int(m_instances.size())))];
    int total = 0;
    for (const WeightedAction& entry : Actions()) total += entry.weight;
    int pick = random.Below(total);
    for (const WeightedAction& entry : Actions()) {
        if (pick < entry.weight) {
            if (m_trace) std::fprintf(stderr, "step %llu: instance %d, %s\n", (unsigned long long)step, instance.Index(), entry.name);
            (this->*entry.action)(instance, random, step);
            break;
        }
        pick -= entry.weight;
    }
    // Latency is compared at chosen points: every 400th step.
    if (step % 400 == 399) Latency(instance, random, step);
    return !m_failure.Failed();
}

void KTortureSchedule::Finish(std::uint64_t step) {
    m_failure.EnterStep(step);
    KTortureRandom random = KTortureRandom::ForStep(m_seed, step);
    for (auto& instance : m_instances) {
        if (m_failure.Failed()) break;
        Latency(*instance, random, step);
    }
    for (auto& instance : m_instances) instance->Drain();
}

void KTortureSchedule::Blocks(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step) {
    instance.PostBlocks(step, random.Next(), random.Between(1, 16));
}

void KTortureSchedule::Parameter(KVst2Instance& instance, KTortureRandom& random, std::uint64_t) {
    const int index = ParameterIndex(instance, random);
    const float value = NormalisedValue(random);
    if (m_trace) std::fprintf(stderr, "  parameter %d = %g\n", index, double(value));
    instance.SetParameter(index, value);
    if (random.Chance(0.3)) instance.GetParameter(ParameterIndex(instance, random));
}

// A host automating every parameter of a large lane set at once.
void KTortureSchedule::AutomateMany(KVst2Instance& instance, KTortureRandom& random, std::uint64_t) {
    const int count = instance.Effect().numParams;
    for (int i = 0; i < 400; ++i) instance.SetParameter(random.Below(count), NormalisedValue(random));
}

void KTortureSchedule::ParameterTexts(KVst2Instance& instance, KTortureRandom& random, std::uint64_t) {
    const int index = ParameterIndex(instance, random);
    // Hosts give small buffers here; the plug-in must keep within 8 bytes
    // for labels and displays, which a guard zone would show.
    for (VstInt32 opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay}) {
        char text[256] = "";
        instance.Dispatch(opcode, index, 0, text);
    }
    if (index >= 0 && index < instance.Effect().numParams) {
        instance.Dispatch(effCanBeAutomated, index);
        char properties[128] = "";
        instance.Dispatch(effGetParameterProperties, index, 0, properties);
    }
}

void KTortureSchedule::TypeText(KVst2Instance& instance, KTortureRandom& random, std::uint64_t) {
    std::string text = TypedText(random);
    instance.Dispatch(effString2Parameter, ParameterIndex(instance, random), 0, text.data());
}

void KTortureSchedule::SaveState(KVst2Instance& instance, KTortureRandom& random, std::uint64_t) {
    std::vector<std::uint8_t> state = instance.SaveState();
    if (state.empty()) return;
    if (m_states.size() < kMostStates)
        m_states.push_back(std::move(state));
    else
        m_states[std::size_t(random.Below(int(kMostStates)))] = std::move(state);
}

void KTortureSchedule::RestoreState(KVst2Instance& instance, KTortureRandom& random, std::uint64_t) {
    if (m_states.empty()) return;
    instance.LoadState(m_states[std::size_t(random.Below(int(m_states.size())))]);
}

void KTortureSchedule::CraftedState(KVst2Instance& instance, KTortureRandom& random, std::uint64_t) {
    const std::string xml = CraftSettings(random);
    instance.LoadState(std::vector<std::uint8_t>(xml.begin(), xml.end()));
}

void KTortureSchedule::DamagedState(KVst2Instance& instance, KTortureRandom& random, std::uint64_t) {
    std::vector<std::uint8_t> state = m_states.empty() ? instance.SaveState()
                                                       : m_states[std::size_t(random.Below(int(m_states.size())))];
    instance.LoadState(Damage(std::move(state), random));
}

void KTortureSchedule::Bypass(KVst2Instance& instance, KTortureRandom& random, std::uint64_t) {
    instance.Dispatch(effSetBypass, 0, random.Chance(0.5) ? 1 : 0);
}

void KTortureSchedule::SuspendResume(KVst2Instance& instance, KTortureRandom& random, std::uint64_t) {
    instance.Suspend();
    // Some hosts save or load while suspended.
    if (random.Chance(0.3)) SaveState(instance, random, 0);
    instance.Resume();
}

void KTortureSchedule::Reconfigure(KVst2Instance& instance, KTortureRandom& random, std::uint64_t) {
    static const float kRates[] = {22050, 44100, 48000, 88200, 96000, 176400, 192000};
    static const int kBlocks[] = {1, 2, 3, 32, 64, 128, 256, 441, 512, 1024, 2048, 4096, 8192};
    const float rate = random.Chance(0.8) ? random.Pick(kRates) : float(random.Between(22050, 192000));
    const int block = random.Chance(0.8) ? random.Pick(kBlocks) : random.Between(1, KVst2Instance::kMaxBlock);
    instance.Reconfigure(rate, block);
}

// Some hosts change the rate without suspending first.
void KTortureSchedule::RateWhileRunning(KVst2Instance& instance, KTortureRandom& random, std::uint64_t step) {
    static const float kRates[] = {22050, 44100, 48000, 96000, 192000};
    instance.PostBlocks(step, random.Next(), 8);
    instance.SetSampleRateWhileRunning(random.Pick(kRates));
}

void KTortureSchedule::Program(KVst2Instance& instance, KTortureRandom& random, std::uint64_t) {
    const int programs = instance.Effect().numPrograms;
    const int program = random.Chance(0.95) ? random.Below(std::max(programs, 1)) : programs + 1;
    instance.Dispatch(effBeginSetProgram);
    instance.Dispatch(effSetProgram, 0, program);
    instance.Dispatch(effEndSetProgram);
    char name[64] = "";
    instance.Dispatch(effGetProgramName, 0, 0, name);
    if (random.Chance(0.2)) {
        char renamed[24] = "Torture";
        instance.Dispatch(effSetProgramName, 0, 0, renamed);
    }
    instance.Dispatch(effGetProgramNameIndexed, random.Below(std::max(programs, 1)), 0, name);
}

void KTortureSchedule::Queries(KVst2Instance& instance, KTortureRandom& random, std::uint64_t) {
    static const char* const kCanDos[] = {"receiveVstEvents", "receiveVstMidiEvent", "sendVstMidiEvent", "bypass",
                                          "nothing at all", ""};
    instance.Dispatch(effCanDo, 0, 0, const_cast<char*>(random.Pick(kCanDos)));
    instance.Dispatch(effGetTailSize);
    instance.Dispatch(effIdle);
    instance.Dispatch(effGetVstVersion);
    instance.Dispatch(effGetPlugCategory);
    char text[256] = "";
    instance.Dispatch(effGetEffectName, 0, 0, text);
    instance.Dispatch(effGetProductString, 0, 0, text);
    instance.Dispatch(effGetVendorString, 0, 0, text);
}

void KTortureSchedule::Latency(KVst2Instance& instance, KTortureRandom&, std::uint64_t) {
    instance.CheckLatency();
}

// Hosts remove an instance and insert a new one while others play.
void KTortureSchedule::Replace(KVst2Instance& instance, KTortureRandom&, std::uint64_t) {
    const int index = instance.Index();
    m_instances[std::size_t(index)].reset();
    m_instances[std::size_t(index)] = std::make_unique<KVst2Instance>(m_entry, index, m_failure, m_counters);
}

void KTortureSchedule::Editor(KVst2Instance& instance, KTortureRandom& random, std::uint64_t) {
    if (!(instance.Effect().flags & effFlagsHasEditor)) return;
    KHostWindow* window = KHostWindow::Shared();
    if (!window) return;
    ERect* rect = nullptr;
    instance.Dispatch(effEditGetRect, 0, 0, &rect);
    instance.Dispatch(effEditOpen, 0, 0, window->Handle());
    for (int idle = random.Between(0, 5); idle > 0; --idle) {
        instance.Dispatch(effEditIdle);
        window->Pump();
    }
    // Now and then the editor stays open while the schedule goes on.
    if (random.Chance(0.8)) instance.Dispatch(effEditClose);
}
