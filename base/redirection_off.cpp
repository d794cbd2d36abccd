#include "base/redirection_off.h"

#if defined(_WIN32) && !defined(_WIN64)
#include <windows.h>
#endif

namespace kelvane {

#if defined(_WIN32) && !defined(_WIN64)

namespace {

using DisableFn = BOOL(WINAPI*)(PVOID*);
using RevertFn = BOOL(WINAPI*)(PVOID);
using IsWow64Fn = BOOL(WINAPI*)(HANDLE, PBOOL);

struct Calls {
  DisableFn disable = nullptr;
  RevertFn revert = nullptr;
  bool redirected = false;
};

// A function of kernel32 by name, or nullptr where this system lacks it.
template <typename Fn>
Fn kernel_function(HMODULE kernel, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, name)));
}

// Looked up once: kernel32 is loaded in every process, and its exports do not change.
const Calls& calls() {
  static const Calls found = [] {
    Calls c;
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (kernel == nullptr) return c;
    const auto is_wow64 = kernel_function<IsWow64Fn>(kernel, "IsWow64Process");
    BOOL wow64 = FALSE;
    if (is_wow64 == nullptr || !is_wow64(GetCurrentProcess(), &wow64) || !wow64) return c;
    c.disable = kernel_function<DisableFn>(kernel, "Wow64DisableWow64FsRedirection");
    c.revert = kernel_function<RevertFn>(kernel, "Wow64RevertWow64FsRedirection");
    c.redirected = c.disable != nullptr && c.revert != nullptr;
    return c;
  }();
  return found;
}

// The thread's state: how many guards are in place, and the value the outermost one must hand
// back when it goes (or Paused when it turns the redirection off again).
thread_local int depth = 0;
thread_local bool off = false;
thread_local PVOID old_value = nullptr;

bool turn_off() {
  const Calls& c = calls();
  if (!c.redirected) return false;
  PVOID value = nullptr;
  if (!c.disable(&value)) return false;
  old_value = value;
  return true;
}

void turn_back() {
  const Calls& c = calls();
  if (c.redirected) c.revert(old_value);
}

}  // namespace

RedirectionOff::RedirectionOff() {
  if (depth++ > 0) return;
  outermost_ = true;
  off = turn_off();
}

RedirectionOff::~RedirectionOff() {
  --depth;
  if (!outermost_) return;
  if (off) turn_back();
  off = false;
}

bool RedirectionOff::process_is_redirected() { return calls().redirected; }

RedirectionOff::Paused::Paused() {
  if (!off) return;
  turn_back();
  off = false;
  paused_ = true;
}

RedirectionOff::Paused::~Paused() {
  if (paused_) off = turn_off();
}

#else

// Nothing is redirected: the 64-bit program, and the native build of the portable layers.
RedirectionOff::RedirectionOff() : outermost_(false) {}
RedirectionOff::~RedirectionOff() = default;
bool RedirectionOff::process_is_redirected() { return false; }
RedirectionOff::Paused::Paused() : paused_(false) {}
RedirectionOff::Paused::~Paused() = default;

#endif

}  // namespace kelvane
