#include "removal/recycle_reach.h"

#include <cstddef>
#include <sstream>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "base/final_place.h"
#include "base/under_wine.h"
#include "base/utf8_path.h"
#include "base/wine_names.h"
#include "scan/win32_dir_source.h"
#endif

namespace kelvane {

namespace {

// A mount point as mountinfo writes it: a blank, a tab, a newline and a backslash as three
// octal digits after a backslash.
std::string unescaped(const std::string& field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const std::string digits = field.substr(i + 1, 3);
      if (digits.find_first_not_of("01234567") == std::string::npos) {
        out += static_cast<char>(std::stoi(digits, nullptr, 8));
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

}  // namespace

std::string mount_device(const std::string& mountinfo, const std::string& unix_path) {
  std::istringstream lines(mountinfo);
  std::string line, device;
  size_t longest = 0;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string id, parent, numbers, root, point;
    if (!(fields >> id >> parent >> numbers >> root >> point)) continue;
    point = unescaped(point);
    const bool holds = point == "/" || unix_path == point || unix_path.rfind(point + "/", 0) == 0;
    // A later mount on the same point covers the earlier one.
    if (holds && point.size() >= longest) {
      longest = point.size();
      device = numbers;
    }
  }
  return device;
}

bool other_mount_beneath(const std::string& mountinfo, const std::string& unix_path,
                         const std::string& device) {
  const std::string folder = unix_path.empty() || unix_path.back() != '/' ? unix_path + "/" : unix_path;
  std::istringstream lines(mountinfo);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string id, parent, numbers, root, point;
    if (!(fields >> id >> parent >> numbers >> root >> point)) continue;
    if (numbers != device && unescaped(point).rfind(folder, 0) == 0) return true;
  }
  return false;
}

#ifdef _WIN32

namespace {

// The whole of one of the system's small files under /proc, read through Wine's DOS name for it.
std::string read_unix_file(const std::string& unix) {
  const std::wstring dos = wine_dos_name(unix);
  if (dos.empty()) return std::string();
  HANDLE file = CreateFileW(dos.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string text;
  std::vector<char> chunk(65536);
  DWORD got = 0;
  while (ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr) && got > 0)
    text.append(chunk.data(), got);
  CloseHandle(file);
  return text;
}

// The Unix name where the entry at the DOS path really is, every link on the way resolved.
std::string real_unix_name(const std::wstring& dos) {
  HANDLE file =
      CreateFileW(dos.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  const std::wstring place = long_drive_place(file);
  CloseHandle(file);
  return place.empty() ? std::string() : wine_unix_name(place);
}

// The Unix user's trash as Wine's shell finds it ($XDG_DATA_HOME/Trash, else
// $HOME/.local/share/Trash), from the environment the process was started with: Wine keeps
// HOME out of the programs' own.
std::string trash_folder() {
  std::string home, data;
  std::istringstream variables(read_unix_file("/proc/self/environ"));
  std::string variable;
  while (std::getline(variables, variable, '\0')) {
    if (variable.rfind("HOME=", 0) == 0) home = variable.substr(5);
    if (variable.rfind("XDG_DATA_HOME=", 0) == 0) data = variable.substr(14);
  }
  if (!data.empty()) return data + "/Trash";
  return home.empty() ? std::string() : home + "/.local/share/Trash";
}

}  // namespace

bool recycle_bin_takes(const std::string& path) {
  if (!under_wine()) return true;
  const std::wstring wide = long_path_form(path);
  // A file another program holds open without letting it be deleted cannot be moved either.
  HANDLE file =
      CreateFileW(wide.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION) return false;
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  // A file from another file system goes to the trash all the same (measured: Wine 8 moves it
  // there); a folder does not.
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
  // The trash, or the nearest folder above it that is there (Wine makes it when first used).
  std::string trash_place;
  for (std::string at = trash_folder(); trash_place.empty() && at.size() > 1;) {
    const std::wstring dos = wine_dos_name(at);
    if (!dos.empty()) trash_place = real_unix_name(dos);
    const size_t cut = at.find_last_of('/');
    if (cut == std::string::npos) break;
    at.resize(cut == 0 ? 1 : cut);
  }
  const std::string entry = real_unix_name(wide);
  const std::string mounts = read_unix_file("/proc/self/mountinfo");
  // What cannot be told leaves it to the shell, as before.
  if (trash_place.empty() || entry.empty() || mounts.empty()) return true;
  const std::string device = mount_device(mounts, entry);
  const std::string trash_device = mount_device(mounts, trash_place);
  return (device.empty() || device == trash_device) && !other_mount_beneath(mounts, entry, trash_device);
}

#else

// Natively there is no platform's bin to ask about.
bool recycle_bin_takes(const std::string&) { return true; }

#endif

}  // namespace kelvane
