#include "KTortureSchedule.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "KCraftedState.h"
#include "KHostWindow.h"

namespace {

constexpr std::size_t kMostStates = 16;

double NormalisedValue(KTortureRandom& random) {
    static const float kEdges[] = {0.0f, 1.0f, -0.0001f, 1.0001f, -1.0f, 2.0f, std::nextafter(1.0f, 2.0f),
                                   std::numeric_limits<float>::quiet_NaN(),
                                   std::numeric_limits<float>::infinity(),
                                   -std::numeric_limits<float>::infinity(),
                                   std::numeric_limits<float>::denorm_min()};
    return random.Chance(0.7) ? random.Unit() : double(random.Pick(kEdges));
}

int ParameterIndex(KTortureInstance& instance, KTortureRandom& random) {
    const int count = instance.ParameterCount();
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

KTortureSchedule::KTortureSchedule(Factory factory, std::uint64_t seed, int instanceCount, bool trace,
                                   bool keepGoing)
    : m_factory(std::move(factory)), m_seed(seed), m_trace(trace), m_failure(keepGoing) {
    for (int i = 0; i < instanceCount; ++i) m_instances.push_back(m_factory(i, m_failure, m_counters));
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
    const std::size_t slot = std::size_t(random.Below(int(m_instances.size())));
    KTortureInstance& instance = *m_instances[slot];
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
    // Latency is compared at chosen points: every 400th step. The action
    // may have replaced the instance in its slot.
    if (step % 400 == 399) Latency(*m_instances[slot], random, step);
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

void KTortureSchedule::Blocks(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step) {
    instance.PostBlocks(step, random.Next(), random.Between(1, 16));
}

void KTortureSchedule::Parameter(KTortureInstance& instance, KTortureRandom& random, std::uint64_t) {
    const int index = ParameterIndex(instance, random);
    const double value = NormalisedValue(random);
    if (m_trace) std::fprintf(stderr, "  parameter %d = %g\n", index, value);
    instance.SetParameter(index, value);
    if (random.Chance(0.3)) instance.GetParameter(ParameterIndex(instance, random));
}

// A host automating every parameter of a large lane set at once.
void KTortureSchedule::AutomateMany(KTortureInstance& instance, KTortureRandom& random, std::uint64_t) {
    const int count = instance.ParameterCount();
    for (int i = 0; i < 400; ++i) instance.SetParameter(random.Below(count), NormalisedValue(random));
}

void KTortureSchedule::ParameterTexts(KTortureInstance& instance, KTortureRandom& random, std::uint64_t) {
    instance.ReadParameterTexts(ParameterIndex(instance, random));
}

void KTortureSchedule::TypeText(KTortureInstance& instance, KTortureRandom& random, std::uint64_t) {
    instance.TypeText(ParameterIndex(instance, random), TypedText(random));
}

void KTortureSchedule::SaveState(KTortureInstance& instance, KTortureRandom& random, std::uint64_t) {
    std::vector<std::uint8_t> state = instance.SaveState();
    if (state.empty()) return;
    if (m_states.size() < kMostStates)
        m_states.push_back(std::move(state));
    else
        m_states[std::size_t(random.Below(int(kMostStates)))] = std::move(state);
}

void KTortureSchedule::RestoreState(KTortureInstance& instance, KTortureRandom& random, std::uint64_t) {
    if (m_states.empty()) return;
    instance.LoadState(m_states[std::size_t(random.Below(int(m_states.size())))]);
}

void KTortureSchedule::CraftedState(KTortureInstance& instance, KTortureRandom& random, std::uint64_t) {
    const std::string xml = CraftSettings(random);
    instance.LoadState(std::vector<std::uint8_t>(xml.begin(), xml.end()));
}

void KTortureSchedule::DamagedState(KTortureInstance& instance, KTortureRandom& random, std::uint64_t) {
    std::vector<std::uint8_t> state = m_states.empty() ? instance.SaveState()
                                                       : m_states[std::size_t(random.Below(int(m_states.size())))];
    instance.LoadState(Damage(std::move(state), random));
}

void KTortureSchedule::Bypass(KTortureInstance& instance, KTortureRandom& random, std::uint64_t) {
    instance.SetBypass(random.Chance(0.5));
}

void KTortureSchedule::SuspendResume(KTortureInstance& instance, KTortureRandom& random, std::uint64_t) {
    instance.Suspend();
    // Some hosts save or load while suspended.
    if (random.Chance(0.3)) SaveState(instance, random, 0);
    instance.Resume();
}

void KTortureSchedule::Reconfigure(KTortureInstance& instance, KTortureRandom& random, std::uint64_t) {
    static const float kRates[] = {22050, 44100, 48000, 88200, 96000, 176400, 192000};
    static const int kBlocks[] = {1, 2, 3, 32, 64, 128, 256, 441, 512, 1024, 2048, 4096, 8192};
    const float rate = random.Chance(0.8) ? random.Pick(kRates) : float(random.Between(22050, 192000));
    const int block = random.Chance(0.8) ? random.Pick(kBlocks) : random.Between(1, KTortureInstance::kMaxBlock);
    instance.Reconfigure(rate, block);
}

// Some hosts change the rate without suspending first.
void KTortureSchedule::RateWhileRunning(KTortureInstance& instance, KTortureRandom& random, std::uint64_t step) {
    static const float kRates[] = {22050, 44100, 48000, 96000, 192000};
    instance.PostBlocks(step, random.Next(), 8);
    instance.SetSampleRateWhileRunning(random.Pick(kRates));
}

void KTortureSchedule::Program(KTortureInstance& instance, KTortureRandom& random, std::uint64_t) {
    instance.SwitchProgram(random);
}

void KTortureSchedule::Queries(KTortureInstance& instance, KTortureRandom& random, std::uint64_t) {
    instance.Queries(random);
}

void KTortureSchedule::Latency(KTortureInstance& instance, KTortureRandom&, std::uint64_t) {
    instance.CheckLatency();
}

// Hosts remove an instance and insert a new one while others play.
void KTortureSchedule::Replace(KTortureInstance& instance, KTortureRandom&, std::uint64_t) {
    const int index = instance.Index();
    m_instances[std::size_t(index)].reset();
    m_instances[std::size_t(index)] = m_factory(index, m_failure, m_counters);
}

void KTortureSchedule::Editor(KTortureInstance& instance, KTortureRandom& random, std::uint64_t) {
    if (KHostWindow* window = KHostWindow::Shared()) instance.ExerciseEditor(random, *window);
}
