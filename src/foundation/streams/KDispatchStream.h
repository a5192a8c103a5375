#pragma once
#include "foundation/streams/KStream.h"

// Base of the streams that transform another stream, their target. The
// target is not owned.
class KDispatchStream : public KStream {
public:
    explicit KDispatchStream(KStream* target) noexcept : m_target(target) {}

    KStream* Target() const noexcept { return m_target; }
    bool IsValid() override { return m_target != nullptr; }

protected:
    KStream& RequireTarget() const;

private:
    KStream* m_target;
};
