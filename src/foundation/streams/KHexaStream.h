#pragma once
#include "foundation/streams/KDispatchStream.h"

// Bytes as upper-case hexadecimal text on the target, two characters per
// byte, high nibble first. Positions, sizes and seek offsets count bytes, so
// they are half of the target's.
class KHexaStream : public KDispatchStream {
public:
    using KDispatchStream::KDispatchStream;

    void Write(const void* data, int count) override;
    // Accepts upper- and lower-case digits; any other character raises
    // "Invalid character to be converted to a number.".
    int Read(void* buffer, int count) override;
    void Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Position() override;
    void Flush() override;
    bool AtEnd() override;
    std::int64_t Size() override;
};
