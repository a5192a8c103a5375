#include "KResidentMemory.h"

#include <unistd.h>

#include <fstream>

std::uint64_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t size = 0;
    std::uint64_t resident = 0;
    if (!(statm >> size >> resident)) return 0;
    return resident * std::uint64_t(sysconf(_SC_PAGESIZE));
}
