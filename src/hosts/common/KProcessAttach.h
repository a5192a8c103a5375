#pragma once

// What the library learnt when it was attached to the process.

// The library's instance handle; null when attach has not run (the module
// then falls back to the host program's handle).
void* KLibraryInstanceHandle() noexcept;

// False when attaching failed: no instance can then be created.
bool KLibraryAttached() noexcept;
