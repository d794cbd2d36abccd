#include "scan/shell.h"

#include "base/replaceable.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#include <shlwapi.h>

#include "base/redirection_off.h"
#include "base/utf8_path.h"
#include "scan/exact_path.h"
#include "scan/sysnative_path.h"
#endif

namespace kelvane {

namespace {

#ifdef _WIN32

// The Windows folder, of the system rather than of a user's session.
std::string windows_folder() {
  const UINT need = GetSystemWindowsDirectoryW(nullptr, 0);
  if (need == 0) return std::string();
  std::wstring dir(need, L'\0');
  const UINT got = GetSystemWindowsDirectoryW(dir.data(), need);
  if (got == 0 || got >= need) return std::string();
  dir.resize(got);
  return narrow(dir);
}

// The path a call of this process that may load DLLs (and so runs redirected) reads as the
// real entry: its Sysnative form where the process is redirected, else itself.
std::string real_path_form(const std::string& path) {
  if (!RedirectionOff::process_is_redirected()) return path;
  static const std::string windows = windows_folder();
  return sysnative_form(path, windows);
}

// A bare program name (a setting such as "mspaint.exe") looked up along the search path; an
// explicit application name is never searched for. Then the real program where the process is
// redirected: "System32\notepad.exe" names the system's own, not its 32-bit copy, unless only
// that copy exists.
std::wstring application_path(const std::string& application) {
  std::wstring app = widen(application);
  if (app.find_first_of(L"\\/:") == std::wstring::npos) {
    DWORD need = SearchPathW(nullptr, app.c_str(), L".exe", 0, nullptr, nullptr);
    if (need > 0) {
      std::wstring found(need, L'\0');
      DWORD got = SearchPathW(nullptr, app.c_str(), L".exe", need, found.data(), nullptr);
      if (got > 0 && got < need) {
        found.resize(got);
        app = found;
      }
    }
  }
  const std::wstring real = widen(real_path_form(narrow(app)));
  if (real != app && GetFileAttributesW(real.c_str()) != INVALID_FILE_ATTRIBUTES) return real;
  return app;
}

class PlatformShell : public Shell {
 public:
  int delete_path(const std::string& path, unsigned flags, void* owner) override {
    // The shell loads DLLs of its own on this thread: it runs redirected, and is given the
    // path's Sysnative form instead.
    RedirectionOff::Paused redirected;
    // The source is a list of paths ended by an empty one: the path, then two terminators.
    std::wstring from = widen(shell_path(real_path_form(path)));
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op = {};
    op.hwnd = static_cast<HWND>(owner);
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.pTo = nullptr;
    op.fFlags = static_cast<FILEOP_FLAGS>(flags);
    op.lpszProgressTitle = nullptr;
    const int result = SHFileOperationW(&op);
    // An operation the user aborted (the warning before a permanent deletion) reports 0 with
    // the abort flag set: nothing was deleted, so it is a failure here.
    if (result == 0 && op.fAnyOperationsAborted) return 0x4c7;  // ERROR_CANCELLED
    return result;
  }

  int find_executable(const std::string& listed, std::string& program) override {
    // The lookup loads DLLs: it runs redirected, on the real file's Sysnative form.
    const std::string file = real_path_form(listed);
    // The lookup by name takes only plain paths, and rewrites them: a path it would not read
    // exactly (longer than MAX_PATH, or a name ending in a dot) is looked up by its type.
    if (!plain_path_is_exact(file)) return find_by_type(file, program);
    // The platform fills at most MAX_PATH characters.
    wchar_t buffer[MAX_PATH + 1] = {};
    const std::wstring wfile = widen(file);
    const auto result = reinterpret_cast<INT_PTR>(FindExecutableW(wfile.c_str(), nullptr, buffer));
    buffer[MAX_PATH] = L'\0';
    program = result > 32 ? narrow(buffer) : std::string();
    return static_cast<int>(result);
  }

  // The program registered for the file's type, once the file itself is found by its exact
  // name.
  static int find_by_type(const std::string& file, std::string& program) {
    program.clear();
    if (GetFileAttributesW(widen(extended_path(file)).c_str()) == INVALID_FILE_ATTRIBUTES)
      return kFindFileNotFound;
    const std::string type = file_type(file);
    if (type.empty()) return kFindNoAssociation;
    // Room for the longest path the system knows.
    DWORD length = 32768;
    std::wstring found(length, L'\0');
    if (AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_EXECUTABLE, widen(type).c_str(), nullptr, found.data(),
                          &length) != S_OK) {
      return kFindNoAssociation;
    }
    found.resize(wcslen(found.c_str()));
    program = narrow(found);
    return program.empty() ? kFindNoAssociation : 33;
  }

  bool start_program(const std::string& application, const std::string& command_line) override {
    const std::wstring app = application_path(application);
    std::wstring line = widen(command_line);
    line.push_back(L'\0');  // CreateProcessW may write into the command line
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(app.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
      return false;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
  }

  std::string system_folder() override {
    const UINT need = GetSystemDirectoryW(nullptr, 0);
    if (need == 0) return std::string();
    std::wstring dir(need, L'\0');
    const UINT got = GetSystemDirectoryW(dir.data(), need);
    if (got == 0 || got >= need) return std::string();
    dir.resize(got);
    return narrow(dir);
  }

  std::string path_for_program(const std::string& path, const std::string& application) override {
    if (!RedirectionOff::process_is_redirected()) return path;
    // A 64-bit program sees System32 as it is and knows no Sysnative; a 32-bit one is
    // redirected as this program is.
    DWORD kind = 0;
    if (GetBinaryTypeW(application_path(application).c_str(), &kind) && kind == SCS_64BIT_BINARY) return path;
    return real_path_form(path);
  }
};

#else

// Natively there is no shell: nothing is deleted or started, every request fails.
class PlatformShell : public Shell {
 public:
  int delete_path(const std::string&, unsigned, void*) override { return 1; }
  int find_executable(const std::string&, std::string& program) override {
    program.clear();
    return kFindNoAssociation;
  }
  bool start_program(const std::string&, const std::string&) override { return false; }
  std::string system_folder() override { return std::string(); }
};

#endif

Replaceable<Shell, PlatformShell> replacement_shell;

}  // namespace

Shell& shell() { return replacement_shell.get(); }

Shell* set_shell(Shell* replacement) { return replacement_shell.replace(replacement); }

}  // namespace kelvane
