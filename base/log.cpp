#include "base/log.h"

#include <cstdarg>

#include "base/final_place.h"
#include "base/strf.h"
#include "base/utf8_path.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kelvane {

Log::~Log() {
  // The log stays open for the whole process; closing here only hands the buffer back.
  if (file_) std::fclose(file_);
}

bool Log::open(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_) std::fclose(file_);
  file_ = open_utf8_file(path, "w");
  return file_ != nullptr;
}

namespace {

// Further names tried while the log is held by other programs of the same user.
constexpr int kLastOwnLog = 9;

#ifdef _WIN32
// The entry at folder\name is itself, not a link to elsewhere. Windows flags a link with the
// reparse attribute; Wine shows a link to a file as a plain file, but resolving it leads
// elsewhere. Deleting a link under Wine deletes its target: a link is never deleted here.
bool is_own_entry(const std::wstring& folder, const std::wstring& name) {
  const DWORD attributes = GetFileAttributesW((folder + L"\\" + name).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
  const std::wstring where = final_place(folder);
  const std::wstring entry = final_place(folder + L"\\" + name);
  return !where.empty() && _wcsicmp(entry.c_str(), (where + L"\\" + name).c_str()) == 0;
}

// Exclusive creation never follows a link, and the share mode lets others read the log but
// neither write it nor delete it while this process runs: a second program finds it in use.
bool make_plain(const std::string& folder, const std::string& name, std::FILE*& file) {
  const std::wstring wide_folder = widen(folder);
  const std::wstring wide_name = widen(name);
  const std::wstring wide = wide_folder + L"\\" + wide_name;
  for (int attempt = 0; attempt < 2; ++attempt) {
    HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_TEXT);
      if (fd < 0) {
        CloseHandle(h);
        return false;
      }
      file = _fdopen(fd, "w");
      if (!file) _close(fd);
      return file != nullptr;
    }
    const DWORD error = GetLastError();
    if (attempt > 0 || (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)) return false;
    // Something stands there: an old log is deleted, an empty folder removed; a link is
    // passed over, and so is a log another program holds (deleting it is a sharing
    // violation): in use.
    if (!is_own_entry(wide_folder, wide_name)) return false;
    if (!DeleteFileW(wide.c_str()) && !RemoveDirectoryW(wide.c_str())) return false;
  }
  return false;
}
#else
bool make_plain(const std::string& folder, const std::string& name, std::FILE*& file) {
  const std::string path = folder + "\\" + name;
  // unlink removes a link itself; O_EXCL never follows one.
  ::unlink(path.c_str());
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (fd < 0) return false;
  file = ::fdopen(fd, "w");
  if (!file) ::close(fd);
  return file != nullptr;
}
#endif

}  // namespace

std::string Log::open_own(const std::string& folder, const std::string& stem) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_) std::fclose(file_);
  file_ = nullptr;
  for (int n = 1; n <= kLastOwnLog; ++n) {
    const std::string name = n == 1 ? stem + ".log" : strf("%s-%d.log", stem.c_str(), n);
    // A name that cannot be made for another reason (a link, a folder with files, no rights)
    // is passed over like one in use: the program runs as usual without a log at worst.
    if (make_plain(folder, name, file_)) return folder + "\\" + name;
  }
  return std::string();
}

void Log::write(const char* fmt, ...) {
  if (!file_) return;
  va_list args;
  va_start(args, fmt);
  std::lock_guard<std::mutex> lock(mutex_);
  std::vfprintf(file_, fmt, args);
  std::fflush(file_);
  va_end(args);
}

void Log::write_text(const std::string& text) {
  if (!file_) return;
  std::lock_guard<std::mutex> lock(mutex_);
  std::fputs(text.c_str(), file_);
  std::fflush(file_);
}

}  // namespace kelvane
