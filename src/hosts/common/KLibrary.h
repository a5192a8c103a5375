#pragma once

// Process-wide life of the library: the sub-systems start with the first
// plug-in instance, and each format counts its live instances.
void KStartLibrarySubsystems();

enum class KPluginFormat { Vst2, Vst3 };

void KPluginInstanceCreated(KPluginFormat format) noexcept;
void KPluginInstanceDestroyed(KPluginFormat format) noexcept;
