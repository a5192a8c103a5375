#pragma once

// Marks a function the plug-in module exports to hosts. On Windows the
// module's definition file (src/hosts/Halvane.def) is the one list of
// exports, as the version script is elsewhere, so nothing is marked for
// export in the code there.
#if defined(_WIN32)
#define HALVANE_EXPORT extern "C"
#else
#define HALVANE_EXPORT extern "C" __attribute__((visibility("default")))
#endif
