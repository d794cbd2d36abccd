#include "scan/image_volume_reader.h"

namespace kelvane {

ImageVolumeReader::ImageVolumeReader(const std::string& path) : file_(std::fopen(path.c_str(), "rb")) {}

ImageVolumeReader::~ImageVolumeReader() {
  if (file_) std::fclose(file_);
}

bool ImageVolumeReader::read(uint64_t offset, void* out, size_t bytes) {
  if (!file_) return false;
#ifdef _WIN32
  if (_fseeki64(file_, static_cast<long long>(offset), SEEK_SET) != 0) return false;
#else
  if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) return false;
#endif
  return std::fread(out, 1, bytes, file_) == bytes;
}

}  // namespace kelvane
