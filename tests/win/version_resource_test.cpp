// The built kelvane.exe read back as Windows reads it for the Details tab of the file's
// properties: the version block agrees with the Info dialog's title, in its text and in its
// binary fields, and names the product and its maker.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "base/utf8_path.h"
#include "frame/help_rules.h"

namespace kelvane {
namespace {

TEST(VersionResource, ProgramCarriesTheInfoDialogVersion) {
  const std::wstring program = widen(std::string("Z:") + KELVANE_PROGRAM);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(program.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no version resource in " << KELVANE_PROGRAM;
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, size, block.data()));

  auto text = [&](const char* name) {
    const std::wstring query = widen(std::string("\\StringFileInfo\\040904B0\\") + name);
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
      return std::string("<missing>");
    return narrow(value);
  };
  // The dialog's title is "Kelvane, Version " and the version text.
  const std::string title = info_lines(0).title.text;
  const std::string prefix = "Kelvane, Version ";
  ASSERT_EQ(title.rfind(prefix, 0), 0u) << title;
  const std::string version = title.substr(prefix.size());
  EXPECT_EQ(text("FileVersion"), version);
  EXPECT_EQ(text("ProductVersion"), version);
  EXPECT_EQ(text("ProductName"), "Kelvane");
  EXPECT_EQ(text("CompanyName"), "Tarnwick");
  EXPECT_EQ(text("OriginalFilename"), "kelvane.exe");
  EXPECT_NE(text("FileDescription"), "<missing>");
  EXPECT_NE(text("LegalCopyright").find("Tarnwick"), std::string::npos);

  // "1.01" is 1.1.0.0 in the binary fields: each part of the text read as a number.
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  const size_t dot = version.find('.');
  const DWORD major = std::stoul(version.substr(0, dot)), minor = std::stoul(version.substr(dot + 1));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(minor, major));
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(minor, major));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

}  // namespace
}  // namespace kelvane
