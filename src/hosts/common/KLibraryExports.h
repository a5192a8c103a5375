#pragma once
#include "foundation/core/Allocator.h"
#include "foundation/platform/Export.h"
#include "foundation/text/KString.h"

class KLock;
class KModule;

// What a companion module hands to KLibraryDLLInitialize to make this library
// allocate through its allocator, lock its global lock and share one module
// instance.
struct KLibrarySetupRecord {
    const KAllocator::Table* allocator;  // the five allocator entries
    KLock* globalLock;
    KString callerName;  // the companion module's name
};

// The library's entries besides the host formats' own. A host loads the
// library, which runs nothing until it asks for an instance.

// Module hooks of VST 3 hosts. The loader already attached the library, so
// they have nothing to do; ModuleEntry answers false when attaching failed,
// which makes the host unload the library.
HALVANE_EXPORT bool InitDll();
HALVANE_EXPORT bool ExitDll();
HALVANE_EXPORT bool ModuleEntry(void* sharedLibraryHandle);
HALVANE_EXPORT bool ModuleExit();

// Replaces the allocator table and the global lock (every call), then answers
// the module instance, made for the caller when there is none. Null after a
// failure, or for a record without an allocator table.
HALVANE_EXPORT KModule* KLibraryDLLInitialize(const KLibrarySetupRecord* record);
