#pragma once

#include <atomic>

// A lock for tables the simulator's threads share, held only for a lookup or
// a swap: the MinGW-w64 build has no std::mutex.
class SpinLock {
public:
    explicit SpinLock(std::atomic_flag& held) : m_held(held) {
        while (m_held.test_and_set(std::memory_order_acquire)) {
        }
    }
    ~SpinLock() { m_held.clear(std::memory_order_release); }
    SpinLock(const SpinLock&) = delete;
    SpinLock& operator=(const SpinLock&) = delete;

private:
    std::atomic_flag& m_held;
};
