#pragma once
// The file system as Windows reports it, behind the DirSource seam.
#ifdef _WIN32
#include <windows.h>

#include <string>

#include "scan/dir_source.h"

namespace kelvane {

class Win32DirSource : public DirSource {
 public:
  bool list(const std::string& pattern, const std::function<bool(const DirEntry&)>& sink) override;
  bool identity(const std::string& path, FolderId& id) override;
};

// The wide form of a path that the platform accepts at any length: long drive paths get
// "\\\\?\\", long UNC paths "\\\\?\\UNC\\"; short paths stay as they are, so that the
// platform still resolves "." and ".." and forward slashes in them.
std::wstring long_path_form(const std::string& path);

// What the walk needs of one found entry. A reparse point that is a symbolic link or a
// junction is a link; a link file counts with its own length, 0.
DirEntry decode_find_data(const WIN32_FIND_DATAW& data, std::string& name);

// The source the program scans through.
DirSource& win32_dir_source();

}  // namespace kelvane
#endif
