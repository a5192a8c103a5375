#pragma once
#include "foundation/text/KString.h"

// The one failure type of the library. The message is a complete sentence
// ending in a full stop; raising copies only the shared string handle.
class KException {
public:
    explicit KException(KString message) noexcept : m_message(std::move(message)) {}
    virtual ~KException() = default;

    const KString& Message() const noexcept { return m_message; }

private:
    KString m_message;
};
