#pragma once
// How many threads this process has now, from the kernel's task list
// (Linux). Tests compare it before and after the life of something that
// runs threads of its own.
#include <dirent.h>

#include <thread>

inline int ThreadsOfThisProcess() {
    int count = 0;
    if (DIR* tasks = ::opendir("/proc/self/task")) {
        while (const dirent* entry = ::readdir(tasks))
            if (entry->d_name[0] != '.') ++count;
        ::closedir(tasks);
    }
    return count;
}

// ThreadSanitizer starts a thread of its own along with the process's
// second one; a test that counts threads lets that happen first.
inline void LetSanitizerThreadsStart() { std::thread([] {}).join(); }
