#pragma once
#include "foundation/core/KObject.h"
#include "foundation/xml/KXMLItem.h"

// An object that keeps its own settings in an XML item: Store writes them,
// Load reads them back, with the same names and defaults, so that storing
// and loading again gives the same object.
class KStorable : public KObject {
public:
    virtual void Store(KXMLItem& item) const = 0;
    // Missing settings take their defaults.
    virtual void Load(const KXMLItem& item) = 0;
};
