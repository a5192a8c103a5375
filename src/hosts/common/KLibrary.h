#pragma once

class KModule;

// What every plug-in instance needs of the library, whatever its host
// format. Each bridge calls KStartLibrarySubsystems at the start of an
// instance creation and reports its instances' lives with
// KPluginInstanceCreated and KPluginInstanceDestroyed.

// Creates the module instance when there is none, under the library lock.
// Raises KException when the library could not attach to the process.
void KStartLibrarySubsystems();

enum class KPluginFormat { Vst2, Vst3 };

// Live instance counts, one per format. A creation makes the module instance
// again when an instance of the other format took it away in the meantime;
// the last instance of a format destroys it (the next creation makes a new
// one). Failures are reported by the guard and otherwise ignored.
void KPluginInstanceCreated(KPluginFormat format) noexcept;
void KPluginInstanceDestroyed(KPluginFormat format) noexcept;

// The module instance, or null while there is none. The pointer stays valid
// while an instance of the caller's format lives.
KModule* KCurrentModuleInstance() noexcept;
