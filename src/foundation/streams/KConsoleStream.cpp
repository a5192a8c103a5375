#include "foundation/streams/KConsoleStream.h"

#include "foundation/platform/File.h"

KConsoleStream::KConsoleStream() noexcept { Attach(KPlatform::StandardInput(), KPlatform::StandardOutput()); }
