#pragma once
#include <atomic>

#include "foundation/xml/KStorageContext.h"

// Stores or loads a field that another thread reads, through a plain copy.
template <class T, class... Default>
void KAtomicField(KStorageContext& context, const KString& name, std::atomic<T>& field, Default... defaultValue) {
    T value = field.load();
    context.Field(name, value, defaultValue...);
    field.store(value);
}
