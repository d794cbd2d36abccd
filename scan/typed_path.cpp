#include "scan/typed_path.h"

#include <algorithm>
#include <vector>

#include "base/ascii_case.h"
#include "scan/exact_path.h"

namespace kelvane {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string trimmed(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && is_blank(text[begin])) ++begin;
  while (end > begin && is_blank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// The components of rest, with "." dropped and ".." taking the one before it.
std::vector<std::string> resolved_components(const std::string& rest) {
  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos <= rest.size()) {
    size_t cut = rest.find('\\', pos);
    if (cut == std::string::npos) cut = rest.size();
    const std::string part = rest.substr(pos, cut - pos);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    pos = cut + 1;
  }
  return parts;
}

// A component that no path can carry exactly (a reserved character, scan/exact_path.h) names
// no folder the program could read or act on.
bool all_fit(const std::vector<std::string>& parts) {
  for (const std::string& part : parts)
    if (!name_fits_path(part)) return false;
  return true;
}

std::string joined(std::string root, const std::vector<std::string>& parts) {
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0 || (!root.empty() && root.back() != '\\')) root += '\\';
    root += parts[i];
  }
  return root;
}

}  // namespace

TypedPath resolve_typed_path(const std::string& text) {
  TypedPath result;
  std::string t = trimmed(text);
  if (t.rfind("\\\\?\\", 0) == 0 || t.rfind("\\\\.\\", 0) == 0) {
    result.valid = t.size() > 4;
    result.path = t;
    return result;
  }
  for (char& c : t) {
    if (c == '/') c = '\\';
  }

  if (t.size() >= 2 && t[1] == ':') {
    const char letter = ascii_upper(t[0]);
    if (letter < 'A' || letter > 'Z') return result;
    result.drive = letter;
    if (t.size() == 2) {
      result.valid = true;
      result.path = t;
      return result;
    }
    if (t[2] != '\\') return result;
    const std::vector<std::string> parts = resolved_components(t.substr(3));
    if (!all_fit(parts)) return result;
    result.valid = true;
    result.path = joined(t.substr(0, 3), parts);
    return result;
  }

  if (t.rfind("\\\\", 0) == 0) {
    // A network path: its server and share are its root.
    std::vector<std::string> raw;
    size_t pos = 2;
    while (raw.size() < 2 && pos < t.size()) {
      while (pos < t.size() && t[pos] == '\\') ++pos;
      const size_t cut = std::min(t.find('\\', pos), t.size());
      if (cut > pos) raw.push_back(t.substr(pos, cut - pos));
      pos = cut;
    }
    if (raw.size() < 2 || !all_fit(raw)) return result;
    const std::vector<std::string> parts = resolved_components(t.substr(pos));
    if (!all_fit(parts)) return result;
    result.valid = true;
    result.path = joined("\\\\" + raw[0] + "\\" + raw[1], parts);
    return result;
  }
  return result;
}

bool is_drive_root(const std::string& path) { return path.size() <= 3 && path.size() >= 2 && path[1] == ':'; }

}  // namespace kelvane
