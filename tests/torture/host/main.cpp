// The torture host: loads the built module as a host does and runs a
// seeded random schedule of host behaviour against several instances (see
// KTortureSchedule). Exits 0 when the run ends without a failure, 1 with
// the failure and the command that replays it, 2 on a bad command line.
#include <dlfcn.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "KResidentMemory.h"
#include "KTortureOptions.h"
#include "KTortureSchedule.h"
#include "KVst2Instance.h"
#ifdef HALVANE_TORTURE_VST3
#include "vst3/KVst3Instance.h"
#endif

namespace {

// Resident memory may grow while caches, buffers and the allocator's pools
// settle; after the first quarter of the run it must stay within this.
constexpr std::uint64_t kResidentGrowthAllowed = 16u << 20;

// The plug-in keeps global settings and presets in the user's data folder;
// a run gets an empty folder of its own, so that runs neither see each
// other's files nor touch the user's.
std::filesystem::path UseOwnUserData() {
    const char* root = std::getenv("HALVANE_TEST_TMP");
    const std::filesystem::path folder =
        std::filesystem::path(root && *root ? root : "/tmp") / ("torture-user-data-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    return folder;
}

// The module's two entries; the VST 3 one only where this host knows the
// format. A host loading both formats of one plug-in sees one module.
struct KModuleEntries {
    KVst2Entry vst2 = nullptr;
    void* vst3Factory = nullptr;
};

KModuleEntries LoadEntries(const std::string& path) {
    // Kept mapped after the host is done, as hosts do, so that leak checkers
    // still see what the module keeps in its globals.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!module) {
        std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), dlerror());
        return {};
    }
    KModuleEntries entries;
    entries.vst2 = reinterpret_cast<KVst2Entry>(dlsym(module, "VSTPluginMain"));
#ifdef HALVANE_TORTURE_VST3
    auto moduleEntry = reinterpret_cast<bool (*)(void*)>(dlsym(module, "ModuleEntry"));
    auto getFactory = reinterpret_cast<vst3::IPluginFactory* (*)()>(dlsym(module, "GetPluginFactory"));
    if (moduleEntry && getFactory && moduleEntry(module)) entries.vst3Factory = getFactory();
#endif
    return entries;
}

// Instances alternate between the formats the module offers.
KTortureSchedule::Factory InstanceFactory(const KModuleEntries& entries) {
    return [entries](int index, KTortureFailure& failure, KTortureCounters& counters) {
#ifdef HALVANE_TORTURE_VST3
        if (entries.vst3Factory && (index % 2 == 1 || !entries.vst2))
            return std::unique_ptr<KTortureInstance>(
                new KVst3Instance(*static_cast<vst3::IPluginFactory*>(entries.vst3Factory), index, failure, counters));
#endif
        return std::unique_ptr<KTortureInstance>(new KVst2Instance(entries.vst2, index, failure, counters));
    };
}

void WriteStates(const std::vector<std::vector<std::uint8_t>>& states, const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    for (std::size_t i = 0; i < states.size(); ++i) {
        std::ofstream file(folder / ("saved-" + std::to_string(i) + ".state"), std::ios::binary);
        file.write(reinterpret_cast<const char*>(states[i].data()), std::streamsize(states[i].size()));
    }
}

void PrintCounters(const KTortureCounters& counters, std::uint64_t steps, double seconds) {
    std::printf("steps %llu, host calls %llu, blocks %llu, frames %llu, callbacks %llu, state loads %llu, "
                "latency checks %llu, %.1f s\n",
                (unsigned long long)steps, (unsigned long long)counters.hostCalls.load(),
                (unsigned long long)counters.blocks.load(), (unsigned long long)counters.frames.load(),
                (unsigned long long)counters.callbacks.load(), (unsigned long long)counters.stateLoads.load(),
                (unsigned long long)counters.latencyChecks.load(), seconds);
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "halvane_torture: %s\n", error.c_str());
        return 2;
    }
    struct RemovedAtExit {
        std::filesystem::path folder;
        ~RemovedAtExit() { std::filesystem::remove_all(folder); }
    } userData{UseOwnUserData()};
    const KModuleEntries entries = LoadEntries(options->module.empty() ? HALVANE_MODULE : options->module);
    if (!entries.vst2) return 2;
    std::printf("formats: VST 2.4%s\n", entries.vst3Factory ? ", VST 3" : "");

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
    std::uint64_t step = 0;
    std::uint64_t residentAfterWarmUp = 0;
    std::uint64_t residentPeak = 0;
    bool residentGrew = false;
    {
        KTortureSchedule schedule(InstanceFactory(entries), options->seed, options->instances, options->trace,
                                  options->keepGoing);
        const auto running = [&] {
            return options->seconds > 0 ? elapsed() < options->seconds : step < options->steps;
        };
        const auto warmedUp = [&] {
            return options->seconds > 0 ? elapsed() >= options->seconds / 4 : step >= options->steps / 4;
        };
        // A line a minute, so that a run that dies still says how far it got.
        double nextProgress = 60;
        for (; running(); ++step) {
            if (!schedule.Step(step)) break;
            if (step % 256 == 0 && elapsed() >= nextProgress) {
                PrintCounters(schedule.Counters(), step, elapsed());
                std::fflush(stdout);
                nextProgress += 60;
            }
            if (step % 256 != 0 || kSanitizedBuild) continue;
            const std::uint64_t resident = ResidentBytes();
            if (!residentAfterWarmUp && warmedUp()) residentAfterWarmUp = resident;
            if (residentAfterWarmUp) residentPeak = std::max(residentPeak, resident);
        }
        if (!schedule.Failure().Failed()) schedule.Finish(step);
        PrintCounters(schedule.Counters(), step, elapsed());
        if (!options->statesFolder.empty()) WriteStates(schedule.States(), options->statesFolder);
        residentGrew = residentAfterWarmUp && residentPeak > residentAfterWarmUp + kResidentGrowthAllowed;
        const KTortureFailure& failure = schedule.Failure();
        if (failure.AnyFailure()) {
            std::printf("%llu failures of %zu kinds\n", (unsigned long long)failure.Count(), failure.Kinds());
            for (const KTortureFailureRecord& record : failure.Records()) {
                std::printf("FAILURE at step %llu, instance %d: %s\n", (unsigned long long)record.step,
                            record.instance, record.what.c_str());
                std::printf("replay: %s --seed %llu --until %llu --instances %d\n", argv[0],
                            (unsigned long long)options->seed, (unsigned long long)record.step,
                            options->instances);
            }
            return 1;
        }
    }
    if (residentAfterWarmUp)
        std::printf("resident memory %.1f MiB after the first quarter, at most %.1f MiB later\n",
                    double(residentAfterWarmUp) / (1 << 20), double(residentPeak) / (1 << 20));
    if (residentGrew) {
        std::printf("FAILURE: resident memory grew by more than %llu MiB\n",
                    (unsigned long long)(kResidentGrowthAllowed >> 20));
        return 1;
    }
    std::printf("no failure\n");
    return 0;
}
