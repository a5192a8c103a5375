#pragma once
#include "foundation/xml/KStorageContext.h"

// One storing operation, run in the direction a test names.
template <class Object>
auto StoreInto(Object& object, KXMLItem& item) {
    KStorageContext context(item, true);
    return object.Store(context);
}

template <class Object>
auto LoadFrom(Object& object, KXMLItem& item) {
    KStorageContext context(item, false);
    return object.Store(context);
}
