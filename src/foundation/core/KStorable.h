#pragma once
#include "foundation/core/KObject.h"
#include "foundation/xml/KStorageContext.h"

// An object that keeps its own settings in an XML item, with one operation
// for both directions, so that storing and loading again gives the same
// object. Missing settings take their defaults.
class KStorable : public KObject {
public:
    virtual void Store(KStorageContext& context) = 0;
};
