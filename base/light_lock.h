#pragma once
// A mutex and a condition for locks taken many times a second by a few threads (the scan's
// readers and its walk). On Windows they are the system's slim reader/writer lock and its
// condition variable: std::mutex and std::condition_variable of the MinGW runtime wait on
// events and semaphores, and under Wine each such wait or wake is a round trip to the server,
// where the slim lock and its condition wait on the address itself. Elsewhere they are the
// standard ones. Both work with std::lock_guard and std::unique_lock.
#ifdef _WIN32
#include <windows.h>

#include <chrono>
#include <mutex>

namespace kelvane {

class LightMutex {
 public:
  LightMutex() = default;
  LightMutex(const LightMutex&) = delete;
  LightMutex& operator=(const LightMutex&) = delete;
  void lock() { AcquireSRWLockExclusive(&lock_); }
  bool try_lock() { return TryAcquireSRWLockExclusive(&lock_) != 0; }
  void unlock() { ReleaseSRWLockExclusive(&lock_); }

 private:
  friend class LightCondition;
  SRWLOCK lock_ = SRWLOCK_INIT;
};

class LightCondition {
 public:
  LightCondition() = default;
  LightCondition(const LightCondition&) = delete;
  LightCondition& operator=(const LightCondition&) = delete;
  void notify_one() { WakeConditionVariable(&condition_); }
  void notify_all() { WakeAllConditionVariable(&condition_); }
  void wait(std::unique_lock<LightMutex>& lock) {
    SleepConditionVariableSRW(&condition_, &lock.mutex()->lock_, INFINITE, 0);
  }
  template <typename Ready>
  void wait(std::unique_lock<LightMutex>& lock, Ready ready) {
    while (!ready()) wait(lock);
  }
  // Returns when woken, or when the time has passed (or earlier: callers look again).
  template <typename Rep, typename Period>
  void wait_for(std::unique_lock<LightMutex>& lock, std::chrono::duration<Rep, Period> time) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(time).count();
    SleepConditionVariableSRW(&condition_, &lock.mutex()->lock_, static_cast<DWORD>(ms), 0);
  }

 private:
  CONDITION_VARIABLE condition_ = CONDITION_VARIABLE_INIT;
};

}  // namespace kelvane
#else
#include <condition_variable>
#include <mutex>

namespace kelvane {

using LightMutex = std::mutex;
using LightCondition = std::condition_variable;

}  // namespace kelvane
#endif
