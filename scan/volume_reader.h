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
  // Reads exactly bytes bytes at offset into out. False on any error or a short read. Any
  // offset and size: a reader whose device wants whole sectors aligns the read itself.
  virtual bool read(uint64_t offset, void* out, size_t bytes) = 0;
};

}  // namespace kelvane
