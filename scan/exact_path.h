#pragma once
// Paths that name exactly the entry an enumeration reported, and no other.
//
// Before the platform looks a plain path up, it rewrites it: it drops the dots and blanks that
// end a component ("doc.kx." names "doc.kx", "..." the folder itself), reads '/' as a separator,
// resolves "." and "..", takes names such as "NUL" or "con.txt" for devices, and stops at
// MAX_PATH. The extended form ("\\?\D:\...", "\\?\UNC\server\share\...") turns all of that off,
// so every path the walk, the probes and the shell hand to the platform is in that form (the
// shell and started programs get the plain form where it is exact, see below).
//
// What no path carries is a name holding a character that Windows reserves: a separator ('\',
// '/'), ':' (on NTFS the start of a stream of another entry), a wildcard ('*', '?', '<', '>',
// '"': a pattern to the enumeration and to the shell's deletion), '|' or a control character.
// Neither does a name holding U+FFFD, which the platform puts in place of bytes or units it
// could not convert, so that several names read the same. Such names exist on disks the
// platform did not make (Wine shows Unix names as they are); their entries are listed with
// their sizes, but a folder among them is never read and no such entry is opened or deleted.
#include <cstddef>
#include <string>
#include <string_view>

#include "scan/lobj.h"

namespace kelvane {

// The longest path the system's plain (not extended) calls take, in characters.
constexpr size_t kLongestPlainPath = 259;

// Whether name, one entry's name as an enumeration reported it (UTF-8), can stand as one
// component of a path that names that entry and no other.
bool name_fits_path(std::string_view name);

// The first name between node and the tree's root (the root's own path excluded: it was typed
// and checked then) that cannot stand in a path, or nullptr when item_path names the entry.
const char* unnamable_name(const lobj& node);

// The extended form of an absolute, resolved path: "D:\X" gives "\\?\D:\X", "D:" the drive's
// root "\\?\D:\", "\\srv\share\X" gives "\\?\UNC\srv\share\X". A path already in the device
// namespace ("\\?\", "\\.\") stays as it is, and so does any other (a relative path, or one with
// '/' or "." or ".." in it, which the platform is left to resolve).
std::string extended_path(const std::string& path);

// "D:" names the drive's current folder; the drive itself is "D:\". Any other path as it is.
std::string drive_root_form(const std::string& path);

// What the enumeration is asked for a pattern of the walk: the extended form, with a last
// component "*.*" as "*" (every name, with or without a dot, on every platform).
std::string enumeration_pattern(const std::string& pattern);

// Whether the plain path names exactly what its extended form names: a drive path ("D:\...")
// or a network path, at most 259 bytes long (its UTF-16 form is never longer), with no
// component that the platform would rewrite (ending in '.' or ' ', "." or "..", a device
// name) or that cannot stand in a path at all.
bool plain_path_is_exact(const std::string& path);
// The same without the length limit: every name of path reads unchanged in its plain form.
bool plain_names_are_exact(const std::string& path);

// The path handed to the shell's deletion: the plain path where it is exact (the form the
// shell is documented for), else the extended form, so that the shell deletes the named entry
// or fails, never another.
std::string shell_path(const std::string& path);

// The path a started program is given for a file whose plain path is not exact: its short
// form when the platform has one and it is exact (the same entry under the platform's alias,
// which programs that take only plain paths still open), else the extended form.
std::string program_argument(const std::string& path, const std::string& short_form);

// The file type of a name for the association lookup: from its last dot, the dots and blanks
// that end the name left out ("doc.kx." is of type ".kx"); empty when it has none.
std::string file_type(std::string_view name);

}  // namespace kelvane
