#pragma once
// Reads an NTFS volume's master file table (MFT) record by record, in large sequential chunks,
// and hands on what each record in use says about its file: names with their parent folders,
// kind, the unnamed data stream's length, the reparse tag and the times. A record is handed on
// only after its update-sequence fixups check out; the reader never guesses: a record that does
// not read as the layout says ends the read with a reason, and the caller walks instead.
//
// Nothing of the table is kept beyond the chunk being read and the table's own bitmap: a
// caller that wants a tree keeps what it needs of each record (scan/mft_tree.h).
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "scan/volume_reader.h"

namespace kelvane {

// One name of a file, as one $FILE_NAME attribute gives it (Win32 or POSIX names only: an
// 8.3 name is a second spelling of a name, not an entry).
struct MftName {
  std::string_view name;    // UTF-8, valid during the callback
  uint64_t parent_ref = 0;  // the parent folder's file reference (sequence number in the top 16 bits)
};

// What one record says. An extension record (base != number) carries attributes of its base
// record's file: the caller merges them into it.
struct MftRecord {
  uint64_t number = 0;
  uint64_t base_ref = 0;  // the base record's file reference; 0 for a base record
  uint16_t sequence = 0;
  bool is_dir = false;
  bool has_times = false;  // $STANDARD_INFORMATION seen
  uint64_t created = 0;    // NT times, 100 ns since 1601
  uint64_t written = 0;
  uint32_t attributes = 0;                              // the file attributes of $STANDARD_INFORMATION
  static constexpr uint32_t kSystemAttribute = 0x0004;  // of those, a system file's
  bool has_size = false;  // the unnamed $DATA stream's first part is in this record
  uint64_t size = 0;
  bool has_reparse = false;
  uint32_t reparse_tag = 0;
  // Where a directory reparse point leads, as its substitute name gives it (UTF-8; empty when
  // it holds none).
  std::string reparse_target;
  // Data that is an Interix symbolic link's ("IntxLNK\1"): the file is one when it is also a
  // system file.
  bool interix_link = false;
  std::string link_target;  // that link's target as ntfs-3g wrote it (UTF-8, '/'-separated)
  // Data outside the record, of a system file (or in an extension record, which cannot tell),
  // short enough to be an Interix link's: whether it is one cannot be told from the record (see
  // read_link_data).
  bool maybe_interix_link = false;
  std::vector<MftName> names;
};

class MftReader {
 public:
  enum class Result {
    kOk,
    kNotNtfs,  // the boot sector is not NTFS's
    kLayout,   // a size, version or record layout this reader does not know
    kReadError,
    kTorn,     // a record whose fixups did not match, twice
    kCorrupt,  // a record in use that does not parse
    kStopped,
  };
  static const char* result_text(Result result);

  explicit MftReader(VolumeReader& volume);

  // Reads the boot sector and $MFT's own record (its data runs, through its attribute list if
  // it has one, and its bitmap).
  Result open();
  // Whether a short system file whose data lies outside its record has that data read, to tell
  // an Interix link (ntfs-3g's, with a long target) from a plain file. Off by default: on a
  // system's own drive such files are many, and each would cost a read away from the table.
  void read_link_data(bool on) { read_link_data_ = on; }

  // Calls sink for every record in use, in record order, until it returns false (then
  // kStopped). progress gets the share of the table read, 0 to 1000, now and then. stop is
  // looked at between chunks.
  using RecordSink = std::function<bool(const MftRecord&)>;
  Result read(const RecordSink& sink, const std::atomic<bool>* stop,
              const std::function<void(int)>& progress = nullptr);

  uint64_t record_count() const { return record_count_; }  // slots in the table
  uint32_t record_bytes() const { return record_bytes_; }
  uint64_t records_in_use() const { return in_use_; }  // as the bitmap marks them
  uint64_t bytes_read() const { return bytes_read_; }
  // Where record number lies on the volume (its first byte), or UINT64_MAX when the table's runs
  // do not cover it.
  uint64_t record_place(uint64_t number) const;

  // The chunk of the table read at once.
  static constexpr size_t kChunkBytes = 4 * 1024 * 1024;

 private:
  struct Run {
    uint64_t vcn;  // first cluster of the stream it covers
    uint64_t lcn;  // where on the volume
    uint64_t length;
  };
  // Reads bytes of $MFT's stream from offset through the runs.
  bool read_stream(uint64_t offset, void* out, size_t bytes);
  // Reads a non-resident attribute's whole value (the bitmap, an attribute list).
  bool read_runs(const std::vector<Run>& runs, uint64_t bytes, std::vector<uint8_t>& out);
  bool record_used(uint64_t number) const;
  // Reads the data of a record marked maybe_interix_link (its mapping pairs, pairs to end, as
  // the record holds them) and says what it is: an Interix link with its target, or a plain
  // file. Left unknown when the data does not read whole.
  void look_into(MftRecord& record, const uint8_t* pairs, const uint8_t* end);

  VolumeReader& volume_;
  uint32_t sector_bytes_ = 0;
  uint32_t cluster_bytes_ = 0;
  uint32_t record_bytes_ = 0;
  uint64_t volume_bytes_ = 0;
  std::vector<Run> runs_;  // $MFT's data, by vcn
  uint64_t record_count_ = 0;
  std::vector<uint8_t> bitmap_;  // empty: every record counts as in use
  uint64_t in_use_ = 0;
  uint64_t bytes_read_ = 0;
  bool read_link_data_ = false;
};

}  // namespace kelvane
