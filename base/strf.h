#pragma once
// printf-style formatting into a std::string: every formatted text of the program goes
// through here, so no text is ever cut to a fixed buffer.
#include <string>

namespace kelvane {

std::string strf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kelvane
