#pragma once
#include <atomic>

#include "foundation/xml/KStorageContext.h"
#include "plugin/parameters/KUnitOr.h"

// Stores or loads a field that another thread reads, through a plain copy.
template <class T, class... Default>
void KAtomicField(KStorageContext& context, const KString& name, std::atomic<T>& field, Default... defaultValue) {
    T value = field.load();
    context.Field(name, value, defaultValue...);
    field.store(value);
}

// The same for a normalised value: a loaded one is clamped to 0..1, and one
// that is no number loads the default.
inline void KAtomicUnitField(KStorageContext& context, const KString& name, std::atomic<double>& field,
                             double defaultValue) {
    double value = field.load();
    context.Field(name, value, defaultValue);
    field.store(context.Loading() ? KUnitOr(value, defaultValue) : value);
}
