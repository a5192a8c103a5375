#pragma once
// The command line of the torture host:
//   halvane_torture [--seed N] [--steps N | --until STEP | --seconds S]
//                   [--instances N] [--module PATH] [--trace] [--keep-going]
//                   [--write-states DIR]
// --keep-going records failures and goes on (the first few of each kind);
// --write-states keeps the states the instances saved, as fuzzing seeds.
// --until STEP replays a run of that seed up to and including that step.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct KTortureOptions {
    std::uint64_t seed = 1;
    std::uint64_t steps = 20000;
    double seconds = 0;  // above 0: run until that time has passed instead
    int instances = 3;
    std::string module;
    bool trace = false;  // each step's action to standard error
    bool keepGoing = false;
    std::string statesFolder;
};

// Reads the arguments; says what is wrong with a bad one.
std::optional<KTortureOptions> ParseOptions(const std::vector<std::string>& arguments, std::string& error);
