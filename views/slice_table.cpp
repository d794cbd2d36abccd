#include "views/slice_table.h"

#include <cstdint>
#include <cstdlib>

#include "base/size_sum.h"
#include "scan/mdir.h"

namespace kelvane {

namespace {

slice record_for(lobj* node, double folder_size) {
  slice s;
  s.node = node;
  s.size = static_cast<int64_t>(node->size.load(std::memory_order_relaxed));
  s.start = 0;
  // 0/0 for a folder of size 0 is NaN on purpose: such a folder shows no slices and no keys.
  s.span = static_cast<double>(s.size) / folder_size * kFullTurn;
  return s;
}

}  // namespace

void SliceTable::fill(const lobj* ptop, const lobj* pcur, Log* log) {
  records_.clear();
  if (ptop == nullptr || pcur == nullptr) return;
  const uint64_t total = pcur->size.load(std::memory_order_relaxed);
  double folder_size = static_cast<double>(static_cast<int64_t>(total));

  for (lobj* f = const_cast<lobj*>(ptop); f != nullptr; f = f->next) {
    if (f->parent == pcur) records_.push_back(record_for(f, folder_size));
  }
  for (lobj* f = pcur->first; f != nullptr; f = f->next) records_.push_back(record_for(f, folder_size));
  if (total >= kMaxSize) {
    // The folder's total stopped at the largest figure: its entries hold more, so the turn is
    // shared by their own sum, which a double holds without wrapping.
    double sum = 0;
    for (const slice& s : records_) sum += static_cast<double>(s.size);
    for (slice& s : records_) s.span = static_cast<double>(s.size) / sum * kFullTurn;
  }

  if (!records_.empty()) std::qsort(records_.data(), records_.size(), sizeof(slice), cmp_item);

  const int n = count();
  double start = 0;
  for (slice& s : records_) {
    s.count = n;
    s.start = start;
    start += s.span;
    if (log != nullptr) {
      log->write("  OnFill::Name: %s Size: %lld B\n", s.node->name, static_cast<long long>(s.size));
    }
  }
}

int cmp_item(const void* a, const void* b) {
  const slice* x = static_cast<const slice*>(a);
  const slice* y = static_cast<const slice*>(b);
  if (!x || !y) return 0;
  // Upper halves as signed numbers, lower halves unsigned: the full 64-bit order, so sizes
  // of 4 GiB and more sort by their whole value.
  const int32_t x_high = static_cast<int32_t>(static_cast<uint64_t>(x->size) >> 32);
  const int32_t y_high = static_cast<int32_t>(static_cast<uint64_t>(y->size) >> 32);
  if (x_high != y_high) return x_high > y_high ? -1 : 1;
  const uint32_t x_low = static_cast<uint32_t>(static_cast<uint64_t>(x->size));
  const uint32_t y_low = static_cast<uint32_t>(static_cast<uint64_t>(y->size));
  if (x_low != y_low) return x_low > y_low ? -1 : 1;
  const unsigned char* x_name = reinterpret_cast<const unsigned char*>(x->node ? x->node->name : "");
  const unsigned char* y_name = reinterpret_cast<const unsigned char*>(y->node ? y->node->name : "");
  while (*x_name && *x_name == *y_name) {
    ++x_name;
    ++y_name;
  }
  if (*x_name == *y_name) return 0;
  return *x_name > *y_name ? 1 : -1;
}

const slice* SliceTable::at(int i) const {
  if (i < 0 || i >= count()) return nullptr;
  return &records_[static_cast<size_t>(i)];
}

lobj* SliceTable::node(int i) const {
  const slice* s = at(i);
  return s != nullptr ? s->node : nullptr;
}

void SliceTable::forget(const lobj* node) {
  if (node == nullptr) return;
  for (slice& s : records_) {
    if (s.node == node) s.node = nullptr;
  }
}

}  // namespace kelvane
