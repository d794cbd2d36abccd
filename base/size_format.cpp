#include "base/size_format.h"

#include "base/strf.h"

namespace kelvane {

int clamp_unit(int unit) { return unit < 0 ? 0 : (unit > 4 ? 4 : unit); }

const char* unit_suffix(int unit) {
  static const char* const suffixes[] = {"B", "KB", "MB", "GB", "TB"};
  return suffixes[clamp_unit(unit)];
}

double unit_scale(int unit) {
  static const double scales[] = {1.0, 1.0 / 1024, 1.0 / (1024.0 * 1024), 1.0 / (1024.0 * 1024 * 1024),
                                  1.0 / (1024.0 * 1024 * 1024 * 1024)};
  return scales[clamp_unit(unit)];
}

std::string format_size(int64_t bytes, int unit) {
  unit = clamp_unit(unit);
  if (unit == 0) return strf("%lld B", static_cast<long long>(bytes));
  return strf("%0.2f %s", static_cast<double>(bytes) * unit_scale(unit), unit_suffix(unit));
}
}  // namespace kelvane
