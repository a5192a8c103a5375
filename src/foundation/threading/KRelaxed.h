#pragma once
#include <atomic>

// A value that one thread writes and others read without a lock, where
// every read only needs some complete value, never an ordering with other
// data (parameter values read by the audio thread). Relaxed loads and stores
// compile to plain moves on x86-64, yet keep the access free of data races.
// Copies take a snapshot, so records that hold such values stay copyable.
template <class T>
class KRelaxed {
public:
    KRelaxed(T value = T()) noexcept : m_value(value) {}
    KRelaxed(const KRelaxed& other) noexcept : m_value(other.Load()) {}
    KRelaxed& operator=(const KRelaxed& other) noexcept {
        Store(other.Load());
        return *this;
    }
    KRelaxed& operator=(T value) noexcept {
        Store(value);
        return *this;
    }

    operator T() const noexcept { return Load(); }
    T Load() const noexcept { return m_value.load(std::memory_order_relaxed); }
    void Store(T value) noexcept { m_value.store(value, std::memory_order_relaxed); }

private:
    std::atomic<T> m_value;
};
