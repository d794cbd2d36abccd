#pragma once
// A volume read raw through its device (\\.\D:). Windows lets only administrators open one;
// Wine opens one where the drive's device is mapped (dosdevices/d:: naming an image or a disk).
#include <windows.h>

#include <string>
#include <vector>

#include "scan/volume_reader.h"

namespace kelvane {

class RawVolumeReader : public VolumeReader {
 public:
  // drive: the letter, A to Z.
  explicit RawVolumeReader(char drive);
  ~RawVolumeReader() override;
  RawVolumeReader(const RawVolumeReader&) = delete;
  RawVolumeReader& operator=(const RawVolumeReader&) = delete;

  bool is_open() const { return handle_ != INVALID_HANDLE_VALUE; }
  DWORD open_error() const { return open_error_; }
  bool read(uint64_t offset, void* out, size_t bytes) override;

 private:
  bool read_aligned(uint64_t offset, void* out, DWORD bytes);
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  DWORD open_error_ = 0;
  std::vector<char> bounce_;
};

}  // namespace kelvane
