#include "scan/exact_path.h"

#include "base/ascii_case.h"

namespace kelvane {

namespace {

// U+FFFD in UTF-8.
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool starts_with(std::string_view text, std::string_view head) { return text.substr(0, head.size()) == head; }

bool is_drive_path(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' && ascii_upper(path[0]) >= 'A' && ascii_upper(path[0]) <= 'Z' &&
         (path.size() == 2 || path[2] == '\\');
}

bool in_device_namespace(std::string_view path) {
  return starts_with(path, "\\\\?\\") || starts_with(path, "\\\\.\\") || starts_with(path, "\\??\\");
}

// A plain path whose component is one of these, with or without an extension, names a device.
bool names_device(std::string_view component) {
  std::string_view base = component.substr(0, component.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"})
    if (same_ascii_letters(base, device)) return true;
  if (base.size() >= 4 &&
      (same_ascii_letters(base.substr(0, 3), "COM") || same_ascii_letters(base.substr(0, 3), "LPT"))) {
    const std::string_view number = base.substr(3);
    if (number.size() == 1 && number[0] >= '0' && number[0] <= '9') return true;
    // The superscript digits one to three count too.
    if (number == "\xC2\xB9" || number == "\xC2\xB2" || number == "\xC2\xB3") return true;
  }
  return false;
}

// Paths of the tree and typed paths come resolved: a path with '/' or with "." or ".." as a
// component comes from elsewhere, and is left to the platform's own resolving.
bool is_resolved(std::string_view path) {
  if (path.find('/') != std::string_view::npos) return false;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(start, end - start);
    if (part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

bool name_fits_path(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20) return false;
    switch (c) {
      case '\\':
      case '/':
      case ':':
      case '*':
      case '?':
      case '<':
      case '>':
      case '"':
      case '|':
        return false;
      default:
        break;
    }
  }
  return name.find(kReplacement) == std::string_view::npos;
}

const char* unnamable_name(const lobj& node) {
  for (const lobj* p = &node; p->parent != nullptr; p = p->parent)
    if (!name_fits_path(p->name)) return p->name;
  return nullptr;
}

std::string extended_path(const std::string& path) {
  if (in_device_namespace(path) || !is_resolved(path)) return path;
  if (is_drive_path(path)) return path.size() == 2 ? "\\\\?\\" + path + "\\" : "\\\\?\\" + path;
  if (starts_with(path, "\\\\")) return "\\\\?\\UNC\\" + path.substr(2);
  return path;
}

std::string enumeration_pattern(const std::string& pattern) {
  std::string p = extended_path(pattern);
  if (p.size() >= 4 && p.compare(p.size() - 4, 4, "\\*.*") == 0) p.erase(p.size() - 2);
  return p;
}

bool plain_path_is_exact(const std::string& path) {
  return path.size() <= kLongestPlainPath && plain_names_are_exact(path);
}

bool plain_names_are_exact(const std::string& path) {
  size_t start = 0;
  if (is_drive_path(path) && path.size() >= 3) {
    start = 3;
  } else if (starts_with(path, "\\\\") && !in_device_namespace(path)) {
    // Past the server and the share, which the network resolves by its own rules.
    start = path.find('\\', 2);
    if (start == std::string::npos) return false;
    start = path.find('\\', start + 1);
    if (start == std::string::npos) return true;
    ++start;
  } else {
    return false;
  }
  while (start < path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    const std::string_view part(path.data() + start, end - start);
    // An empty part is a doubled separator.
    if (part.empty() || !name_fits_path(part) || part.back() == '.' || part.back() == ' ' ||
        names_device(part))
      return false;
    start = end + 1;
  }
  return true;
}

std::string shell_path(const std::string& path) {
  // The shell reads a plain path past MAX_PATH where the system allows it and fails on it
  // where it does not (nothing else is touched); under Wine it refuses the extended form of
  // such a path. So the extended form only where the plain one would name another entry.
  return plain_names_are_exact(path) ? path : extended_path(path);
}

std::string program_argument(const std::string& path, const std::string& short_form) {
  if (!short_form.empty() && plain_path_is_exact(short_form)) return short_form;
  return extended_path(path);
}

std::string file_type(std::string_view name) {
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.remove_suffix(1);
  const size_t dot = name.find_last_of(".\\");
  if (dot == std::string_view::npos || name[dot] != '.') return std::string();
  return std::string(name.substr(dot));
}

std::string drive_root_form(const std::string& path) {
  if (path.size() == 2 && path[1] == ':') return path + "\\";
  return path;
}

}  // namespace kelvane
