#include "scan/raw_volume_reader.h"

#include <cstring>

namespace kelvane {
namespace {

// A raw volume is read in whole sectors at sector offsets; 4 KiB covers disks of 512 and of
// 4,096 bytes a sector.
constexpr uint64_t kAlign = 4096;

}  // namespace

RawVolumeReader::RawVolumeReader(char drive) {
  const wchar_t device[] = {L'\\', L'\\', L'.', L'\\', static_cast<wchar_t>(drive), L':', L'\0'};
  // Shared for writing: the volume stays in use by everything else while it is read.
  handle_ = CreateFileW(device, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                        FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) open_error_ = GetLastError();
}

RawVolumeReader::~RawVolumeReader() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

bool RawVolumeReader::read_aligned(uint64_t offset, void* out, DWORD bytes) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD got = 0;
  return ReadFile(handle_, out, bytes, &got, &at) && got == bytes;
}

bool RawVolumeReader::read(uint64_t offset, void* out, size_t bytes) {
  if (handle_ == INVALID_HANDLE_VALUE) return false;
  auto* to = static_cast<char*>(out);
  while (bytes > 0) {
    // Pieces of at most 16 MiB: one ReadFile call each.
    const size_t piece = bytes < (16u << 20) ? bytes : (16u << 20);
    if (offset % kAlign == 0 && piece % kAlign == 0) {
      if (!read_aligned(offset, to, static_cast<DWORD>(piece))) return false;
    } else {
      const uint64_t first = offset - offset % kAlign;
      const uint64_t end = (offset + piece + kAlign - 1) / kAlign * kAlign;
      bounce_.resize(static_cast<size_t>(end - first));
      if (!read_aligned(first, bounce_.data(), static_cast<DWORD>(end - first))) return false;
      std::memcpy(to, bounce_.data() + (offset - first), piece);
    }
    to += piece;
    offset += piece;
    bytes -= piece;
  }
  return true;
}

}  // namespace kelvane
