#pragma once

// Marks a function the plug-in module exports to hosts.
#if defined(_WIN32)
#define HALVANE_EXPORT extern "C" __declspec(dllexport)
#else
#define HALVANE_EXPORT extern "C" __attribute__((visibility("default")))
#endif
