#pragma once
// A path typed by the user, resolved to the folder it names before it is scanned, so that the
// tree's paths, the status bar, Properties, Open and Delete name real entries: blanks around
// the text go, '/' reads as '\', doubled separators and "." components drop out, ".." takes
// the component before it (never above the drive root or the share of a network path).
#include <string>

namespace kelvane {

struct TypedPath {
  bool valid = false;
  std::string path;  // the resolved path, letters in the case typed
  char drive = 0;    // its drive letter, upper case; 0 for a network or device path
};

// "C:" and "C:\" stay drive roots as typed; "C:\KTEST\.." becomes "C:\". Invalid: an empty
// text, a drive "letter" outside A to Z, a drive without a backslash after its colon
// ("C:DATA", relative to a current folder), a path with neither drive nor network root, a
// network path without its share, a component holding a character that no path carries
// exactly (scan/exact_path.h: a wildcard, ':', a control character). Paths in the device
// namespace ("\\?\", "\\.\") are taken as they are, since the system does not resolve them
// either.
TypedPath resolve_typed_path(const std::string& text);

// A drive root: a letter and a colon, perhaps a backslash ("D:", "D:\\"; "D:\\X" is not). Such a
// path is scanned as a drive, any other as a folder.
bool is_drive_root(const std::string& path);

}  // namespace kelvane
