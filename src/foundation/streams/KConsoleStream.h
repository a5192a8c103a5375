#pragma once
#include "foundation/streams/KStdFileStream.h"

// The process's standard input (read) and standard output (write). The
// handles belong to the process: closing the stream leaves them open.
class KConsoleStream : public KStdFileStream {
public:
    KConsoleStream() noexcept;
};
