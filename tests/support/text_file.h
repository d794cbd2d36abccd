#pragma once
// Reading back what the program wrote (its log, a copied file), in the native and the Windows
// tests alike.
#include <cstdio>
#include <string>

#include "base/utf8_path.h"

namespace kelvane {

// The file's bytes as read in text mode (line ends as "\n"); empty when it cannot be opened.
inline std::string read_text_file(const std::string& path) {
  std::string text;
  std::FILE* f = open_utf8_file(path, "r");
  if (!f) return text;
  for (int c; (c = std::fgetc(f)) != EOF;) text += static_cast<char>(c);
  std::fclose(f);
  return text;
}

}  // namespace kelvane
