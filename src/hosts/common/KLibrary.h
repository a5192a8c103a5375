#pragma once

// Process-wide start-up shared by every plug-in format, and the live
// instance counts per format.
void KStartLibrarySubsystems();

enum class KPluginFormat { Vst2, Vst3 };

void KPluginInstanceCreated(KPluginFormat format) noexcept;
void KPluginInstanceDestroyed(KPluginFormat format) noexcept;
