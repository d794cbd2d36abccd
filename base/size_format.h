#pragma once
// The one size formatter: the status bar, the list, Properties and the pie all show byte
// counts through it, so a unit means the same text everywhere.
#include <cstdint>
#include <string>

namespace kelvane {

// Units 0..4 = B, KB, MB, GB, TB. A unit above 4 (only possible from the registry) is shown
// as TB; a negative one as bytes.
int clamp_unit(int unit);

// "1536 B", "1.50 KB", "0.00 MB", ...
std::string format_size(int64_t bytes, int unit);

// The size unit's suffix and scale, for texts that embed the figure in a longer format.
const char* unit_suffix(int unit);  // "B", "KB", "MB", "GB", "TB"
double unit_scale(int unit);        // 1, 2^-10, 2^-20, 2^-30, 2^-40

}  // namespace kelvane
