#pragma once
// A check this host cannot make is reported, never passed on a figure that means "unknown": the
// line "skipped: <what> (<why>)" on the test's output and, where the test run keeps a list
// (scripts/test names it in KELVANE_SKIPS), in that list, which the run's closing line counts.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace kelvane::test {

inline void report_skip(const std::string& what, const std::string& why) {
  const std::string line = "skipped: " + what + " (" + why + ")\n";
  std::fputs(line.c_str(), stdout);
  std::fflush(stdout);
  const char* list = std::getenv("KELVANE_SKIPS");
  if (list == nullptr || *list == '\0') return;
  std::string path = list;
#ifdef _WIN32
  // Under Wine the list's Unix path is reached through Z:, the Unix root.
  if (path[0] == '/') {
    for (char& c : path) c = c == '/' ? '\\' : c;
    path = "Z:" + path;
  }
#endif
  if (FILE* file = std::fopen(path.c_str(), "a")) {
    std::fputs(line.c_str(), file);
    std::fclose(file);
  }
}

}  // namespace kelvane::test

// Reports the check as skipped and ends the test there.
#define KELVANE_SKIP(what, why)                  \
  do {                                           \
    ::kelvane::test::report_skip((what), (why)); \
    GTEST_SKIP();                                \
  } while (0)
