#include "base/log.h"

#include <cstdarg>

#include "base/utf8_path.h"

namespace kelvane {

Log::~Log() {
  // The log stays open for the whole process; closing here only hands the buffer back.
  if (file_) std::fclose(file_);
}

bool Log::open(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_) std::fclose(file_);
  file_ = open_utf8_file(path, "w");
  return file_ != nullptr;
}

void Log::write(const char* fmt, ...) {
  if (!file_) return;
  va_list args;
  va_start(args, fmt);
  std::lock_guard<std::mutex> lock(mutex_);
  std::vfprintf(file_, fmt, args);
  std::fflush(file_);
  va_end(args);
}

void Log::write_text(const std::string& text) {
  if (!file_) return;
  std::lock_guard<std::mutex> lock(mutex_);
  std::fputs(text.c_str(), file_);
  std::fflush(file_);
}

}  // namespace kelvane
