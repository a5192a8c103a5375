#pragma once
// The command line both host programs share:
//   NAME render <plug-in> <output.raw> [--save-state f] [--load-state f]
//   NAME compare <a.raw> <b.raw>
// `render` runs the program's own rendering on the arguments after the
// command; failures print one line and give status 2.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "support/hostprogram/RawAudioFiles.h"

namespace HostProgram {

template <class Render>
int RunHostProgram(int argc, char** argv, const char* name, const char* pluginArgument, Render render) {
    const std::vector<std::string> args(argv + std::min(argc, 2), argv + argc);
    const std::string command = argc > 1 ? argv[1] : "";
    try {
        if (command == "render") return render(args);
        if (command == "compare" && args.size() == 2) return CompareRenderings(args[0], args[1]);
        std::fprintf(stderr,
                     "usage: %s render <%s> <output.raw> [--save-state f] [--load-state f]\n"
                     "       %s compare <a.raw> <b.raw>\n",
                     name, pluginArgument, name);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s: %s\n", name, failure.what());
    }
    return 2;
}

}  // namespace HostProgram
