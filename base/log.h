#pragma once
// The diagnostic log: one text file, each line written whole and flushed at once.
// Written from the user-interface thread and the scan thread; a mutex keeps lines whole.
#include <cstdio>
#include <mutex>
#include <string>

namespace kelvane {

class Log {
 public:
  Log() = default;
  Log(const Log&) = delete;
  Log& operator=(const Log&) = delete;
  ~Log();

  // Opens (and empties) the file at a UTF-8 path. False when it cannot be made.
  bool open(const std::string& path);
  // The program's own log in folder, made anew as a plain file of this process: an old log or
  // an empty folder at "<stem>.log" is removed first and the file is created exclusively, so
  // a link never redirects it. While that name is a link (never removed: under Wine that
  // would delete its target), or another program holds the log there (on Windows its handle
  // denies writers and deletion), "<stem>-2.log" up to "<stem>-9.log" are tried in turn.
  // Returns the path written to, or empty: then no log is written.
  std::string open_own(const std::string& folder, const std::string& stem);
  bool is_open() const { return file_ != nullptr; }

  // One formatted write and a flush; nothing happens while the log is closed.
  void write(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  void write_text(const std::string& text);

 private:
  std::FILE* file_ = nullptr;
  std::mutex mutex_;
};

}  // namespace kelvane
