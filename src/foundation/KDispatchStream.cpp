#include "foundation/KDispatchStream.h"

#include "foundation/KException.h"

KStream& KDispatchStream::RequireTarget() const {
    if (!m_target) throw KException("Stream has no target stream.");
    return *m_target;
}
