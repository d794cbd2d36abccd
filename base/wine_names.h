#pragma once
// Wine's own names for a path, from the calls its kernel32 exports: the Unix name of a DOS path
// and the DOS name of a Unix one. Both are empty where they cannot be had (on Windows, which
// has no such calls, or a path Wine cannot name). Windows only.
#ifdef _WIN32
#include <string>

namespace kelvane {

std::string wine_unix_name(const std::wstring& dos);
std::wstring wine_dos_name(const std::string& unix);

}  // namespace kelvane
#endif
