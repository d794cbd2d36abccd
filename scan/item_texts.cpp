#include "scan/item_texts.h"

#include <string_view>

#include "base/size_format.h"
#include "base/strf.h"

namespace kelvane {

namespace {

std::string figure(uint64_t bytes, int unit) { return format_size(static_cast<int64_t>(bytes), unit); }

}  // namespace

std::string drive_properties_text(const drive_record& drive, int unit) {
  return strf("%s\nSize:  %s\nUsed: %s\nFree: %s", drive.name.c_str(), figure(drive.total, unit).c_str(),
              figure(drive.used, unit).c_str(), figure(drive.free, unit).c_str());
}

std::string item_properties_text(const lobj& node, int unit) {
  const uint64_t size = node.size.load(std::memory_order_relaxed);
  if (node.isdir) {
    return strf("%s\nFiles: %i\nFolders: %i\n%s", node.fpath().c_str(),
                node.nfil.load(std::memory_order_relaxed), node.ndir.load(std::memory_order_relaxed),
                figure(size, unit).c_str());
  }
  return strf("%s\n%s", item_path(node).c_str(), figure(size, unit).c_str());
}

std::string item_path(const lobj& node) {
  if (node.isdir) return node.fpath();
  const std::string folder = node.parent != nullptr ? node.parent->fpath() : "";
  // A drive root typed with its backslash ("D:\\") already ends in the separator; doubling
  // it would name a path that the shell may not take for the entry.
  if (!folder.empty() && folder.back() == '\\') return folder + node.name;
  return strf("%s\\%s", folder.c_str(), node.name);
}

std::string delete_question(const std::string& first, const std::string& last, bool several) {
  if (!several) return strf("Delete %s ?", first.c_str());
  return strf("Delete from %s to %s ?", first.c_str(), last.c_str());
}

std::string deleting_text(const std::string& path, size_t done, size_t total) {
  return strf("Deleting %s ... %llu of %llu", path.c_str(), static_cast<unsigned long long>(done),
              static_cast<unsigned long long>(total));
}

bool has_wildcard(const std::string& path) { return path.find_first_of("*?") != std::string::npos; }

LaunchCommand launch_command(const std::string& program, const std::string& file, const std::string& viewer,
                             const std::string& system_folder) {
  LaunchCommand c;
  if (program.find("shimgvw.dll") != std::string::npos) {
    if (!viewer.empty()) {
      c.application = viewer;
      c.command_line = strf("%s \"%s\" /bf", viewer.c_str(), file.c_str());
    } else {
      c.application = system_folder.empty() ? std::string("rundll32.exe") : system_folder + "\\rundll32.exe";
      c.command_line = strf("rundll32.exe %s,ImageView_Fullscreen \"%s\"", program.c_str(), file.c_str());
    }
  } else {
    c.application = program;
    c.command_line = strf("%s \"%s\"", program.c_str(), file.c_str());
  }
  return c;
}

std::string status_folder_text(const lobj& folder) {
  return strf("%s %s %i, %s %i", folder.fpath().c_str(),
              "Files:", folder.nfil.load(std::memory_order_relaxed),
              "Folders:", folder.ndir.load(std::memory_order_relaxed));
}

std::string status_size_text(int64_t bytes, int unit) { return " " + format_size(bytes, unit); }

}  // namespace kelvane
