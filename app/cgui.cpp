#include "app/cgui.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/registry.h"
#include "app/settings_loader.h"
#include "base/message_box.h"
#include "base/strf.h"
#include "base/utf8_path.h"
#include "ui/dc.h"

namespace kelvane {
namespace {

const char kRoot[] = "HKCU";

// The settings' key under HKEY_CURRENT_USER. A viewer's path is taken whole: it is of no use
// cut short.
class RegistryStore : public SettingStore {
 public:
  explicit RegistryStore(const std::string& key) : key_(key) {}
  int read_dword(const char* name) override { return reg_get_dword(kRoot, key_, name); }
  std::string read_text(const char* name) override { return reg_get_string(kRoot, key_, name).value_or(""); }
  void write_dword(const char* name, int value) override { reg_set_dword(kRoot, key_, name, value); }
  void write_text(const char* name, const std::string& value) override {
    reg_set_string(kRoot, key_, name, value);
  }

 private:
  const std::string& key_;
};

// This process's own file, however long its path is.
std::string own_program_path() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::string();
    if (n < buffer.size()) return narrow(buffer.data(), static_cast<int>(n));
    if (buffer.size() >= 32768) return std::string();
    buffer.resize(buffer.size() * 2);
  }
}

// TEMP through the wide environment, so that a folder with a name outside the ANSI code page
// still gets the log. An empty value counts as unset: it would put the log in a drive root.
std::string temp_folder(const CguiSources& sources) {
  if (!sources.use_environment_temp) return sources.temp;
  const wchar_t* temp = _wgetenv(L"TEMP");
  return temp ? narrow(temp) : std::string();
}

}  // namespace

CGUI::CGUI() : CGUI(CguiSources()) {}

CGUI::CGUI(const CguiSources& sources) : sources_(sources) {
  const DWORD version = GetVersion();
  winver = LOBYTE(LOWORD(version));
  const int minor = HIBYTE(LOWORD(version));

  const std::string temp = temp_folder(sources_);
  if (!temp.empty()) flog.open_own(temp, "kelvane");
  flog.write("Logfile created by kelvane.exe:\n");
  flog.write("Windows Version: %d.%d\n", winver, minor);

  RegistryStore store(sources_.key);
  load_settings(*this, store);
  make_font(0);

  read_cfg();
  flog.write("CGUI::CGUI () OK ...\n");
}

CGUI::~CGUI() { flog.write("CGUI::~CGUI () OK ...\n"); }

void CGUI::make_font(int dpi) {
  // 8 points at the scale of the screen or of the main window's monitor.
  font_owner_ = ui::point_font(80, widen(mf).c_str(), dpi);
  font = font_owner_.get();
}

std::string CGUI::program_path() const {
  return sources_.program_path.empty() ? own_program_path() : sources_.program_path;
}

int CGUI::read_cfg() {
  const std::string path = colour_file_path(program_path());
  highdrive = high_drive(path);

  for (uint32_t& c : color) c = 0;
  std::FILE* file = open_utf8_file(path, "r");
  if (!file) {
    fill_greys(color);
    show_message(strf("%s %s !", "Could not open file:", path.c_str()), kMessageOk);
    return 1;
  }
  std::string text;
  char chunk[4096];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
  std::fclose(file);
  parse_colours(text, color);
  return 0;
}

}  // namespace kelvane
