#pragma once
#include <atomic>
#include <utility>

// Base of an object that copies of its owner share: the reference count
// lives in the object, so the owner stays one pointer wide.
struct KSharedObject {
    std::atomic<int> references{1};
};

// The owner's pointer: copying adds a reference, the last copy deletes the
// object. `T` derives from KSharedObject and is complete where the handle
// is copied or destroyed (the owner's .cpp).
template <class T>
class KSharedHandle {
public:
    explicit KSharedHandle(T* object) noexcept : m_object(object) {}
    KSharedHandle(const KSharedHandle& other) noexcept : m_object(other.m_object) {
        m_object->references.fetch_add(1, std::memory_order_relaxed);
    }
    KSharedHandle& operator=(const KSharedHandle& other) noexcept {
        KSharedHandle copy(other);
        std::swap(m_object, copy.m_object);
        return *this;
    }
    ~KSharedHandle() {
        if (m_object->references.fetch_sub(1, std::memory_order_acq_rel) == 1) delete m_object;
    }

    T& operator*() const noexcept { return *m_object; }
    T* operator->() const noexcept { return m_object; }

private:
    T* m_object;
};
