// The end-to-end tests' hand on kelvane.exe's message boxes. The program shows every box on
// the screen and waits for it; this driver, started in the same Wine session, finds the box,
// prints what it says and presses one of its buttons, as a user reads and answers it.
//
//   box_driver wait-answer TIMEOUT_MS yes|no|ok   waits for a box, prints it, presses the button
//   box_driver none                                prints the box that is open, if any, untouched
//
// A box is printed as one line TYPE|TEXT, TYPE as the program asked for it (0 OK, 4 Yes and
// No, 64 OK with an icon: the information icon is the only one the tests meet) and the line
// ends inside TEXT written as "\n". Exit status: 0 answered, or no box open; 1 no box came
// within the time, or a box is open; 2 the box has no such button (nothing pressed); 3 it did
// not close when pressed; 64 bad arguments.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool class_is(HWND hwnd, const wchar_t* name) {
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  return lstrcmpiW(cls, name) == 0;
}

// The program's own process: a box of another program with the same caption is not ours.
bool of_the_program(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (process == nullptr) return false;
  wchar_t path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  const bool named = QueryFullProcessImageNameW(process, 0, path, &size) != 0;
  CloseHandle(process);
  const std::wstring image(path, named ? size : 0);
  const std::wstring exe = L"\\kelvane.exe";
  return image.size() >= exe.size() && lstrcmpiW(image.c_str() + image.size() - exe.size(), exe.c_str()) == 0;
}

BOOL CALLBACK find_box(HWND hwnd, LPARAM found) {
  wchar_t caption[16] = {};
  if (!IsWindowVisible(hwnd) || !class_is(hwnd, L"#32770")) return TRUE;
  if (GetWindowTextW(hwnd, caption, 16) != 7 || lstrcmpW(caption, L"Kelvane") != 0) return TRUE;
  if (!of_the_program(hwnd)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

HWND open_box() {
  HWND box = nullptr;
  EnumWindows(find_box, reinterpret_cast<LPARAM>(&box));
  return box;
}

// The window's text, asked of its own thread (the box lives in another process).
std::wstring text_of(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                      5000, &copied);
  text.resize(copied);
  return text;
}

struct BoxFace {
  std::wstring text;
  bool icon = false;
};

BOOL CALLBACK read_static(HWND hwnd, LPARAM face_param) {
  auto& face = *reinterpret_cast<BoxFace*>(face_param);
  if (!class_is(hwnd, L"Static") || !IsWindowVisible(hwnd)) return TRUE;
  if ((GetWindowLongW(hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    DWORD_PTR icon = 0;
    SendMessageTimeoutW(hwnd, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &icon);
    face.icon = face.icon || icon != 0;
  } else if (face.text.empty()) {
    face.text = text_of(hwnd);
  }
  return TRUE;
}

bool has_button(HWND box, int id) {
  HWND button = GetDlgItem(box, id);
  return button != nullptr && IsWindowVisible(button) && IsWindowEnabled(button);
}

std::string utf8(const std::wstring& wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string out(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size, nullptr,
                      nullptr);
  return out;
}

void print_box(HWND box) {
  BoxFace face;
  EnumChildWindows(box, read_static, reinterpret_cast<LPARAM>(&face));
  const unsigned type = (has_button(box, IDYES) ? MB_YESNO : MB_OK) | (face.icon ? MB_ICONINFORMATION : 0);
  std::string line = std::to_string(type) + "|";
  for (char c : utf8(face.text)) {
    if (c == '\n')
      line += "\\n";
    else if (c != '\r')
      line += c;
  }
  line += '\n';
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

// Presses the button as a click does (the button tells the box, which ends with its id) and
// waits until the box has gone, so that the next look does not find it again.
int press(HWND box, int id) {
  if (!has_button(box, id)) return 2;
  PostMessageW(GetDlgItem(box, id), BM_CLICK, 0, 0);
  for (int i = 0; i < 200 && IsWindow(box); ++i) Sleep(50);
  return IsWindow(box) ? 3 : 0;
}

int wait_answer(DWORD timeout_ms, int id) {
  const ULONGLONG end = GetTickCount64() + timeout_ms;
  HWND box = open_box();
  while (box == nullptr && GetTickCount64() < end) {
    Sleep(50);
    box = open_box();
  }
  if (box == nullptr) return 1;
  print_box(box);
  return press(box, id);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "none") == 0) {
    HWND box = open_box();
    if (box == nullptr) return 0;
    print_box(box);
    return 1;
  }
  if (argc == 4 && std::strcmp(argv[1], "wait-answer") == 0) {
    const DWORD timeout_ms = std::strtoul(argv[2], nullptr, 10);
    const std::string answer = argv[3];
    if (answer == "yes") return wait_answer(timeout_ms, IDYES);
    if (answer == "no") return wait_answer(timeout_ms, IDNO);
    if (answer == "ok") return wait_answer(timeout_ms, IDOK);
  }
  const char usage[] = "usage: box_driver wait-answer TIMEOUT_MS yes|no|ok | box_driver none\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), usage, sizeof usage - 1, &written, nullptr);
  return 64;
}
