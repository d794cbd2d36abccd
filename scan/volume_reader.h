#pragma once
// The one seam between the NTFS table reader and the disk: bytes at an offset of a volume.
// The program reads a raw volume (scan/raw_volume_reader.h, Windows only); tests and
// benchmarks read an image file (scan/image_volume_reader.h).
#include <cstddef>
#include <cstdint>

namespace kelvane {

class VolumeReader {
 public:
  virtual ~VolumeReader() = default;
  // Reads exactly bytes bytes at offset into out. False on any error or a short read.
  // offset and bytes are multiples of 512 where the table reader asks (raw volumes need
  // whole sectors).
  virtual bool read(uint64_t offset, void* out, size_t bytes) = 0;
};

}  // namespace kelvane
