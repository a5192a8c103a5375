#pragma once
#include <cstdio>

#include "foundation/platform/File.h"

// What a FileHandle holds on every system; how a file is opened, sought and
// truncated is each system's own.
struct KPlatform::FileHandle {
    std::FILE* file;
    bool standard;
};
