#pragma once
// A volume held in an image file (a file system made with mkntfs, or a copy of a disk).
#include <cstdio>
#include <string>

#include "scan/volume_reader.h"

namespace kelvane {

class ImageVolumeReader : public VolumeReader {
 public:
  explicit ImageVolumeReader(const std::string& path);
  ~ImageVolumeReader() override;
  ImageVolumeReader(const ImageVolumeReader&) = delete;
  ImageVolumeReader& operator=(const ImageVolumeReader&) = delete;

  bool is_open() const { return file_ != nullptr; }
  bool read(uint64_t offset, void* out, size_t bytes) override;

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace kelvane
