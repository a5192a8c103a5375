#include "foundation/streams/KDispatchStream.h"

#include "foundation/core/KException.h"

KStream& KDispatchStream::RequireTarget() const {
    if (!m_target) throw KException("Stream has no target stream.");
    return *m_target;
}
