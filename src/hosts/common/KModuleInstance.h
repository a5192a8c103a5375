#pragma once
#include "foundation/text/KString.h"

class KModule;

// The module instance's lifecycle beyond the bridges' view (KLibrary.h):
// for the library's own entries and for tests.

// Allocates a new module over the library's instance handle and remembers it
// as the first module ever made when none was; not yet initialised.
KModule* KCreateModuleInstance();

// The module instance, made when missing with `callerName` as the name of the
// module that asked for it (a companion module sharing this library).
KModule* KModuleInstanceFor(const KString& callerName);

// The first module instance the process made; set once, never cleared, so it
// may point to a module that no longer exists.
KModule* KFirstModuleInstance() noexcept;

// Destroys the module instance while the library leaves the process; a
// failure leaves the pointer set.
void KDestroyModuleInstanceAtDetach() noexcept;
