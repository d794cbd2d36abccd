#include "scan/mft_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace kelvane {
namespace {

// The on-disk layout, as Debian's ntfs-3g headers (layout.h) document it: little-endian
// throughout, offsets in bytes from the start of the structure named.
constexpr uint32_t kStandardInformation = 0x10;
constexpr uint32_t kAttributeList = 0x20;
constexpr uint32_t kFileName = 0x30;
constexpr uint32_t kVolumeInformation = 0x70;
constexpr uint32_t kData = 0x80;
constexpr uint32_t kBitmap = 0xB0;
constexpr uint32_t kReparsePoint = 0xC0;
constexpr uint32_t kEnd = 0xFFFFFFFF;

constexpr uint16_t kRecordInUse = 0x0001;
constexpr uint16_t kRecordIsDirectory = 0x0002;
constexpr uint8_t kDosNamespace = 2;
constexpr uint32_t kTagMountPoint = 0xA0000003;
constexpr uint32_t kTagSymlink = 0xA000000C;
// The update-sequence stride: every 512 bytes of a record end in the sequence number.
constexpr uint32_t kFixupStride = 512;
constexpr uint64_t kRecordNumberMask = 0x0000FFFFFFFFFFFFull;
// A run of unused records longer than this is skipped rather than read with the chunk.
constexpr uint64_t kGapBytes = 256 * 1024;

uint16_t u16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
uint32_t u32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
uint64_t u64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// UTF-16 (as NTFS stores names) to UTF-8, appended; a lone surrogate becomes U+FFFD, as the
// platform's conversion of a listed name gives it.
void append_utf8(const uint8_t* p, size_t units, std::string& out) {
  for (size_t i = 0; i < units; ++i) {
    uint32_t c = u16(p + 2 * i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units) {
      const uint32_t low = u16(p + 2 * (i + 1));
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      } else {
        c = 0xFFFD;
      }
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
}

// Puts back the bytes the update sequence took from the end of every 512 bytes. False when one
// of them does not hold the sequence number: the record was read while it was being written.
bool apply_fixups(uint8_t* record, uint32_t bytes) {
  const uint16_t at = u16(record + 4);
  const uint16_t count = u16(record + 6);
  if (count != bytes / kFixupStride + 1 || at < 8 || at % 2 != 0 || at + 2u * count > kFixupStride)
    return false;
  const uint16_t usn = u16(record + at);
  for (uint32_t i = 1; i < count; ++i) {
    uint8_t* end = record + i * kFixupStride - 2;
    if (u16(end) != usn) return false;
    std::memcpy(end, record + at + 2 * i, 2);
  }
  return true;
}

// One attribute of a record, its bounds checked against the record.
struct Attribute {
  uint32_t type = 0;
  const uint8_t* at = nullptr;
  uint32_t length = 0;
  bool resident = true;
  bool named = false;
  // Resident:
  const uint8_t* value = nullptr;
  uint32_t value_length = 0;
  // Non-resident:
  uint64_t lowest_vcn = 0;
  const uint8_t* pairs = nullptr;  // the mapping pairs, up to the attribute's end
  const uint8_t* end = nullptr;
  uint64_t data_size = 0;
  uint64_t initialized_size = 0;
};

// Calls fn for every attribute of the record; false when the record does not parse.
template <typename Fn>
bool for_each_attribute(const uint8_t* record, uint32_t bytes, Fn fn) {
  const uint32_t in_use = u32(record + 24);
  uint32_t at = u16(record + 20);
  if (in_use > bytes || at < 42 || at >= in_use) return false;
  for (int guard = 0; guard < 4096; ++guard) {
    if (at + 4 > in_use) return false;
    Attribute a;
    a.type = u32(record + at);
    if (a.type == kEnd) return true;
    if (at + 16 > in_use) return false;
    a.at = record + at;
    a.length = u32(a.at + 4);
    if (a.length < 24 || a.length > in_use - at) return false;
    a.resident = a.at[8] == 0;
    const uint8_t name_length = a.at[9];
    a.named = name_length != 0;
    if (a.named && u16(a.at + 10) + 2u * name_length > a.length) return false;
    a.end = a.at + a.length;
    if (a.resident) {
      a.value_length = u32(a.at + 16);
      const uint16_t offset = u16(a.at + 20);
      if (offset > a.length || a.value_length > a.length - offset) return false;
      a.value = a.at + offset;
    } else {
      if (a.length < 64) return false;
      a.lowest_vcn = u64(a.at + 16);
      const uint16_t pairs = u16(a.at + 32);
      if (pairs > a.length) return false;
      a.pairs = a.at + pairs;
      a.data_size = u64(a.at + 48);
      a.initialized_size = u64(a.at + 56);
    }
    if (!fn(a)) return false;
    at += a.length;
  }
  return false;
}

}  // namespace

// Decodes mapping pairs into runs from first_vcn on. A sparse run (no place on the volume) is
// refused where sparse is false.
static bool decode_runs(const uint8_t* p, const uint8_t* end, uint64_t first_vcn, bool sparse,
                        std::vector<std::pair<uint64_t, uint64_t>>& out_runs,
                        std::vector<uint64_t>& out_vcns) {
  uint64_t vcn = first_vcn;
  int64_t lcn = 0;
  while (p < end && *p != 0) {
    const int length_bytes = *p & 0x0F;
    const int offset_bytes = *p >> 4;
    if (length_bytes == 0 || length_bytes > 8 || offset_bytes > 8 ||
        p + 1 + length_bytes + offset_bytes > end)
      return false;
    ++p;
    uint64_t length = 0;
    for (int i = 0; i < length_bytes; ++i) length |= static_cast<uint64_t>(p[i]) << (8 * i);
    p += length_bytes;
    if (offset_bytes == 0) {
      if (!sparse) return false;
    } else {
      uint64_t delta = 0;
      for (int i = 0; i < offset_bytes; ++i) delta |= static_cast<uint64_t>(p[i]) << (8 * i);
      if (offset_bytes < 8 && (p[offset_bytes - 1] & 0x80)) delta |= ~0ull << (8 * offset_bytes);
      p += offset_bytes;
      lcn += static_cast<int64_t>(delta);
      if (lcn < 0) return false;
      out_runs.push_back({static_cast<uint64_t>(lcn), length});
      out_vcns.push_back(vcn);
    }
    vcn += length;
  }
  return true;
}

const char* MftReader::result_text(Result result) {
  switch (result) {
    case Result::kOk:
      return "read";
    case Result::kNotNtfs:
      return "not NTFS";
    case Result::kLayout:
      return "a layout this reader does not know";
    case Result::kReadError:
      return "a read error";
    case Result::kTorn:
      return "a record that read torn twice";
    case Result::kCorrupt:
      return "a record that does not parse";
    case Result::kStopped:
      return "stopped";
  }
  return "";
}

MftReader::MftReader(VolumeReader& volume) : volume_(volume) {}

bool MftReader::read_stream(uint64_t offset, void* out, size_t bytes) {
  auto* to = static_cast<uint8_t*>(out);
  while (bytes > 0) {
    const uint64_t vcn = offset / cluster_bytes_;
    // The last run starting at or before vcn.
    auto it =
        std::upper_bound(runs_.begin(), runs_.end(), vcn, [](uint64_t v, const Run& r) { return v < r.vcn; });
    if (it == runs_.begin()) return false;
    --it;
    if (vcn >= it->vcn + it->length) return false;
    const uint64_t within = offset - it->vcn * cluster_bytes_;
    const uint64_t left = it->length * cluster_bytes_ - within;
    const size_t piece = static_cast<size_t>(std::min<uint64_t>(left, bytes));
    const uint64_t place = it->lcn * cluster_bytes_ + within;
    if (place + piece > volume_bytes_ || !volume_.read(place, to, piece)) return false;
    bytes_read_ += piece;
    to += piece;
    offset += piece;
    bytes -= piece;
  }
  return true;
}

uint64_t MftReader::record_place(uint64_t number) const {
  const uint64_t offset = number * record_bytes_;
  for (const Run& r : runs_) {
    if (offset >= r.vcn * cluster_bytes_ && offset < (r.vcn + r.length) * cluster_bytes_)
      return r.lcn * cluster_bytes_ + (offset - r.vcn * cluster_bytes_);
  }
  return UINT64_MAX;
}

bool MftReader::read_runs(const std::vector<Run>& runs, uint64_t bytes, std::vector<uint8_t>& out) {
  out.assign(static_cast<size_t>(bytes), 0);
  for (const Run& r : runs) {
    const uint64_t start = r.vcn * cluster_bytes_;
    if (start >= bytes) break;
    const uint64_t piece = std::min<uint64_t>(r.length * cluster_bytes_, bytes - start);
    const uint64_t place = r.lcn * cluster_bytes_;
    if (place + piece > volume_bytes_ || !volume_.read(place, out.data() + start, static_cast<size_t>(piece)))
      return false;
  }
  return true;
}

bool MftReader::record_used(uint64_t number) const {
  if (bitmap_.empty()) return true;
  const uint64_t byte = number / 8;
  return byte < bitmap_.size() && (bitmap_[byte] >> (number % 8)) & 1;
}

MftReader::Result MftReader::open() {
  // 4 KiB: whole sectors on disks of 512 and of 4,096 bytes a sector alike.
  std::vector<uint8_t> boot(4096);
  if (!volume_.read(0, boot.data(), boot.size())) return Result::kReadError;
  if (std::memcmp(boot.data() + 3, "NTFS    ", 8) != 0 || u16(boot.data() + 510) != 0xAA55)
    return Result::kNotNtfs;
  sector_bytes_ = u16(boot.data() + 11);
  const uint8_t per_cluster = boot[13];
  if (sector_bytes_ < 256 || sector_bytes_ > 4096 || !std::has_single_bit(sector_bytes_))
    return Result::kLayout;
  // Clusters above 64 KiB give the power of two as a negative byte.
  const uint64_t sectors =
      per_cluster <= 0x80 ? per_cluster : (per_cluster >= 0xF4 ? 1ull << (256 - per_cluster) : 0);
  if (sectors == 0 || !std::has_single_bit(sectors)) return Result::kLayout;
  const uint64_t cluster = sectors * sector_bytes_;
  if (cluster > 2 * 1024 * 1024) return Result::kLayout;
  cluster_bytes_ = static_cast<uint32_t>(cluster);
  volume_bytes_ = u64(boot.data() + 40) * sector_bytes_ + sector_bytes_;  // the backup boot sector follows
  const auto per_record = static_cast<int8_t>(boot[64]);
  const uint64_t record = per_record > 0 ? static_cast<uint64_t>(per_record) * cluster_bytes_
                                         : (per_record > -31 && per_record < 0 ? 1ull << -per_record : 0);
  if (record < 1024 || record > 65536 || !std::has_single_bit(record)) return Result::kLayout;
  record_bytes_ = static_cast<uint32_t>(record);
  const uint64_t mft_place = u64(boot.data() + 48) * cluster_bytes_;
  if (mft_place + record_bytes_ > volume_bytes_) return Result::kLayout;

  // $MFT's own record, which says where the rest of the table lies.
  std::vector<uint8_t> rec(record_bytes_);
  if (!volume_.read(mft_place, rec.data(), rec.size())) return Result::kReadError;
  if (std::memcmp(rec.data(), "FILE", 4) != 0) return Result::kLayout;
  if (!apply_fixups(rec.data(), record_bytes_)) return Result::kTorn;

  struct Segment {
    uint64_t lowest_vcn;
    std::vector<uint8_t> pairs;
  };
  std::vector<Segment> data;
  uint64_t data_size = 0, initialized = 0;
  bool have_size = false;
  std::vector<uint8_t> bitmap_value;
  std::vector<Run> bitmap_runs;
  uint64_t bitmap_size = 0;
  bool bitmap_resident = false, have_bitmap = false;
  std::vector<uint8_t> list;  // the attribute list, when $MFT has one
  bool list_resident = true;
  std::vector<Run> list_runs;
  uint64_t list_size = 0;

  auto take = [&](const Attribute& a) {
    if (a.named) return true;
    if (a.type == kData) {
      if (a.resident) return false;
      data.push_back({a.lowest_vcn, std::vector<uint8_t>(a.pairs, a.end)});
      if (a.lowest_vcn == 0) {
        data_size = a.data_size;
        initialized = a.initialized_size;
        have_size = true;
      }
    } else if (a.type == kBitmap) {
      have_bitmap = true;
      bitmap_resident = a.resident;
      if (a.resident) {
        bitmap_value.assign(a.value, a.value + a.value_length);
      } else {
        std::vector<std::pair<uint64_t, uint64_t>> runs;
        std::vector<uint64_t> vcns;
        if (!decode_runs(a.pairs, a.end, a.lowest_vcn, false, runs, vcns)) return false;
        for (size_t i = 0; i < runs.size(); ++i)
          bitmap_runs.push_back({vcns[i], runs[i].first, runs[i].second});
        if (a.lowest_vcn == 0) bitmap_size = a.data_size;
      }
    } else if (a.type == kAttributeList) {
      list_resident = a.resident;
      if (a.resident) {
        list.assign(a.value, a.value + a.value_length);
      } else {
        std::vector<std::pair<uint64_t, uint64_t>> runs;
        std::vector<uint64_t> vcns;
        if (!decode_runs(a.pairs, a.end, 0, false, runs, vcns)) return false;
        for (size_t i = 0; i < runs.size(); ++i)
          list_runs.push_back({vcns[i], runs[i].first, runs[i].second});
        list_size = a.data_size;
      }
    }
    return true;
  };
  if (!for_each_attribute(rec.data(), record_bytes_, take)) return Result::kLayout;

  auto set_runs = [&]() {
    runs_.clear();
    std::sort(data.begin(), data.end(),
              [](const Segment& a, const Segment& b) { return a.lowest_vcn < b.lowest_vcn; });
    for (const Segment& s : data) {
      std::vector<std::pair<uint64_t, uint64_t>> runs;
      std::vector<uint64_t> vcns;
      if (!decode_runs(s.pairs.data(), s.pairs.data() + s.pairs.size(), s.lowest_vcn, false, runs, vcns))
        return false;
      for (size_t i = 0; i < runs.size(); ++i) runs_.push_back({vcns[i], runs[i].first, runs[i].second});
    }
    return true;
  };
  if (!set_runs()) return Result::kLayout;

  if (!list_resident && list_size > 0) {
    if (list_size > 16 * 1024 * 1024 || !read_runs(list_runs, list_size, list)) return Result::kReadError;
  }
  if (!list.empty()) {
    // A large or fragmented table continues its own data runs (and maybe its bitmap) in
    // extension records; the list names them. They lie in the part of the table the base
    // record already maps.
    std::vector<uint64_t> extensions;
    for (size_t at = 0; at + 26 <= list.size();) {
      const uint8_t* e = list.data() + at;
      const uint16_t length = u16(e + 4);
      if (length < 26 || at + length > list.size()) return Result::kLayout;
      const uint64_t number = u64(e + 16) & kRecordNumberMask;
      if ((u32(e) == kData || u32(e) == kBitmap) && e[6] == 0 && number != 0) extensions.push_back(number);
      at += length;
    }
    std::sort(extensions.begin(), extensions.end());
    extensions.erase(std::unique(extensions.begin(), extensions.end()), extensions.end());
    for (uint64_t number : extensions) {
      std::vector<uint8_t> ext(record_bytes_);
      if (!read_stream(number * record_bytes_, ext.data(), ext.size())) return Result::kReadError;
      if (std::memcmp(ext.data(), "FILE", 4) != 0 || !apply_fixups(ext.data(), record_bytes_))
        return Result::kLayout;
      if ((u64(ext.data() + 32) & kRecordNumberMask) != 0) {
        if (!for_each_attribute(ext.data(), record_bytes_, take)) return Result::kLayout;
      }
    }
    if (!set_runs()) return Result::kLayout;
  }
  if (!have_size || runs_.empty()) return Result::kLayout;
  // The table lies on its volume: a size beyond it is a damaged record, and counting through it
  // (or making a bitmap for it) would never end.
  if (std::min(data_size, initialized) > volume_bytes_) return Result::kLayout;
  record_count_ = std::min(data_size, initialized) / record_bytes_;
  if (record_count_ < 16) return Result::kLayout;

  if (have_bitmap) {
    if (bitmap_resident) {
      bitmap_ = std::move(bitmap_value);
    } else {
      std::sort(bitmap_runs.begin(), bitmap_runs.end(),
                [](const Run& a, const Run& b) { return a.vcn < b.vcn; });
      if (bitmap_size > 64 * 1024 * 1024 || !read_runs(bitmap_runs, bitmap_size, bitmap_))
        return Result::kReadError;
    }
    if (bitmap_.size() * 8 < record_count_) bitmap_.resize(static_cast<size_t>((record_count_ + 7) / 8), 0);
  }
  in_use_ = 0;
  for (uint64_t i = 0; i < record_count_; ++i) in_use_ += record_used(i) ? 1 : 0;

  // The version: 3.0 and 3.1 (every NTFS since Windows 2000) share the layout read here.
  std::vector<uint8_t> volume_record(record_bytes_);
  if (!read_stream(3ull * record_bytes_, volume_record.data(), volume_record.size()))
    return Result::kReadError;
  if (std::memcmp(volume_record.data(), "FILE", 4) != 0 || !apply_fixups(volume_record.data(), record_bytes_))
    return Result::kLayout;
  int major = 0;
  if (!for_each_attribute(volume_record.data(), record_bytes_, [&](const Attribute& a) {
        if (a.type == kVolumeInformation && a.resident && a.value_length >= 10) major = a.value[8];
        return true;
      }))
    return Result::kLayout;
  if (major != 3) return Result::kLayout;
  return Result::kOk;
}

namespace {

// Parses one record (its fixups applied) into out. False when it does not parse.
// A record that may be an Interix link with its data outside gets that data's mapping pairs in
// data_pairs (null when the data is stored other than plainly).
bool parse_record(const uint8_t* rec, uint32_t bytes, uint64_t number, MftRecord& out, std::string& names,
                  std::vector<std::pair<uint32_t, uint32_t>>& name_spans,
                  std::pair<const uint8_t*, const uint8_t*>& data_pairs) {
  out.number = number;
  out.base_ref = u64(rec + 32);
  out.sequence = u16(rec + 16);
  out.is_dir = (u16(rec + 22) & kRecordIsDirectory) != 0;
  out.has_times = out.has_size = out.has_reparse = out.interix_link = out.maybe_interix_link = false;
  out.created = out.written = 0;
  out.attributes = 0;
  out.size = 0;
  out.reparse_tag = 0;
  out.reparse_target.clear();
  out.link_target.clear();
  out.names.clear();
  names.clear();
  name_spans.clear();
  std::vector<uint64_t> parents;
  bool data_interix = false;
  bool data_outside = false;
  data_pairs = {nullptr, nullptr};  // the outside data's mapping pairs, when stored plainly
  const bool ok = for_each_attribute(rec, bytes, [&](const Attribute& a) {
    switch (a.type) {
      case kStandardInformation:
        if (!a.resident || a.value_length < 36) return false;
        out.has_times = true;
        out.created = u64(a.value);
        out.written = u64(a.value + 8);
        out.attributes = u32(a.value + 32);
        return true;
      case kFileName: {
        if (!a.resident || a.value_length < 66) return false;
        const uint8_t length = a.value[64];
        if (66u + 2u * length > a.value_length || length == 0) return false;
        if (a.value[65] == kDosNamespace) return true;
        const size_t start = names.size();
        append_utf8(a.value + 66, length, names);
        name_spans.push_back({static_cast<uint32_t>(start), static_cast<uint32_t>(names.size() - start)});
        out.names.push_back({std::string_view(), u64(a.value)});
        return true;
      }
      case kData:
        if (a.named) return true;
        if (a.resident) {
          out.has_size = true;
          out.size = a.value_length;
          data_interix = a.value_length >= 8 && std::memcmp(a.value, "IntxLNK\1", 8) == 0;
          if (data_interix) append_utf8(a.value + 8, (a.value_length - 8) / 2, out.link_target);
        } else if (a.lowest_vcn == 0) {
          out.has_size = true;
          out.size = a.data_size;
          data_outside = true;
          // Not compressed, encrypted or sparse, and written to its end: its clusters are its bytes.
          if ((u16(a.at + 12) & 0xC001) == 0 && a.initialized_size == a.data_size) {
            data_pairs = {a.pairs, a.end};
          }
        }
        return true;
      case kReparsePoint: {
        // Large reparse data lives outside the record: such a point cannot be told from here.
        if (!a.resident || a.value_length < 8) return false;
        out.has_reparse = true;
        out.reparse_tag = u32(a.value);
        const uint32_t tag = out.reparse_tag;
        if (tag == kTagMountPoint || tag == kTagSymlink) {
          const uint32_t buffer = tag == kTagSymlink ? 20 : 16;
          if (a.value_length < buffer) return true;
          const uint32_t offset = u16(a.value + 8), length = u16(a.value + 10);
          if (buffer + offset + length <= a.value_length) {
            // A relative link stays on its volume: its target is kept with a leading ".".
            if (tag == kTagSymlink && (u32(a.value + 16) & 1)) out.reparse_target = ".\\";
            append_utf8(a.value + buffer + offset, length / 2, out.reparse_target);
          }
        }
        return true;
      }
      default:
        return true;
    }
  });
  if (!ok) return false;
  out.interix_link = data_interix;
  if (!out.interix_link) out.link_target.clear();
  // A target of up to 4,096 bytes, as a Unix path may be, in UTF-16 after the 8-byte mark; a
  // link is a system file, which an extension record cannot tell (its base record holds that).
  out.maybe_interix_link = data_outside && out.size <= 8 + 2 * 4096 &&
                           (out.base_ref != 0 || (out.attributes & MftRecord::kSystemAttribute) != 0);
  for (size_t i = 0; i < out.names.size(); ++i)
    out.names[i].name = std::string_view(names).substr(name_spans[i].first, name_spans[i].second);
  return true;
}

}  // namespace

void MftReader::look_into(MftRecord& record, const uint8_t* pairs, const uint8_t* end) {
  std::vector<std::pair<uint64_t, uint64_t>> places;
  std::vector<uint64_t> vcns;
  if (!decode_runs(pairs, end, 0, false, places, vcns)) return;
  std::vector<Run> runs;
  uint64_t covered = 0;
  for (size_t i = 0; i < places.size(); ++i) {
    if (vcns[i] != covered) return;  // a hole: not read whole
    runs.push_back({vcns[i], places[i].first, places[i].second});
    covered += places[i].second;
  }
  std::vector<uint8_t> data;
  if (covered * cluster_bytes_ < record.size || !read_runs(runs, record.size, data)) return;
  record.maybe_interix_link = false;
  if (data.size() >= 8 && std::memcmp(data.data(), "IntxLNK\1", 8) == 0) {
    record.interix_link = true;
    record.link_target.clear();
    append_utf8(data.data() + 8, (data.size() - 8) / 2, record.link_target);
  }
}

MftReader::Result MftReader::read(const RecordSink& sink, const std::atomic<bool>* stop,
                                  const std::function<void(int)>& progress) {
  std::vector<uint8_t> chunk(kChunkBytes);
  const uint64_t per_chunk = kChunkBytes / record_bytes_;
  const uint64_t gap = std::max<uint64_t>(1, kGapBytes / record_bytes_);
  MftRecord record;
  std::string names;
  std::vector<std::pair<uint32_t, uint32_t>> spans;
  std::pair<const uint8_t*, const uint8_t*> data_pairs;
  uint64_t r = 0;
  while (r < record_count_) {
    if (stop && stop->load(std::memory_order_relaxed)) return Result::kStopped;
    // Whole bytes of the bitmap at a time over the unused part of the table.
    while (r < record_count_ && !record_used(r)) {
      if (r % 8 == 0 && r / 8 < bitmap_.size() && bitmap_[r / 8] == 0) {
        r += 8;
      } else {
        ++r;
      }
    }
    if (r >= record_count_) break;
    uint64_t last = r;
    for (uint64_t i = r; i < record_count_ && i - r < per_chunk; ++i) {
      if (record_used(i)) {
        last = i;
      } else if (i - last > gap) {
        break;
      }
    }
    const uint64_t count = last + 1 - r;
    if (!read_stream(r * record_bytes_, chunk.data(), static_cast<size_t>(count * record_bytes_)))
      return Result::kReadError;
    for (uint64_t i = 0; i < count; ++i) {
      const uint64_t number = r + i;
      if (!record_used(number)) continue;
      uint8_t* rec = chunk.data() + i * record_bytes_;
      if (std::memcmp(rec, "FILE", 4) != 0) return Result::kCorrupt;
      if (!apply_fixups(rec, record_bytes_)) {
        // Torn: read while it was being written. Once more on its own, then no guess.
        if (!read_stream(number * record_bytes_, rec, record_bytes_)) return Result::kReadError;
        if (std::memcmp(rec, "FILE", 4) != 0) return Result::kCorrupt;
        if (!apply_fixups(rec, record_bytes_)) return Result::kTorn;
      }
      if ((u16(rec + 22) & kRecordInUse) == 0) continue;
      // Records of NTFS 3.1 name themselves: one found elsewhere is no record of this slot.
      if (u16(rec + 4) >= 48 && u32(rec + 44) != static_cast<uint32_t>(number)) return Result::kCorrupt;
      if (!parse_record(rec, record_bytes_, number, record, names, spans, data_pairs))
        return Result::kCorrupt;
      if (read_link_data_ && record.maybe_interix_link && data_pairs.first)
        look_into(record, data_pairs.first, data_pairs.second);
      if (!sink(record)) return Result::kStopped;
    }
    r = last + 1;
    if (progress) progress(static_cast<int>(r * 1000 / record_count_));
  }
  // The table's unused end is skipped, not read: the reading is whole all the same.
  if (progress) progress(1000);
  return Result::kOk;
}

}  // namespace kelvane
