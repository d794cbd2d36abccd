#include "app/registry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/utf8_path.h"

namespace kelvane {
namespace {

// Each test works in a key of its own under HKEY_CURRENT_USER, gone before and after.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { remove_key(); }
  void TearDown() override { remove_key(); }
  void remove_key() { RegDeleteTreeW(HKEY_CURRENT_USER, widen(key_).c_str()); }

  // Stores raw bytes of any type, as another program might have left them.
  void store_raw(const std::string& name, DWORD type, const void* data, DWORD bytes) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, widen(key_).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &k, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(k, widen(name).c_str(), 0, type, static_cast<const BYTE*>(data), bytes),
              ERROR_SUCCESS);
    RegCloseKey(k);
  }

  const std::string key_ = std::string("Software\\Tarnwick\\KelvaneTest\\") +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name();
};

TEST_F(RegistryTest, DwordRoundTripAndMissingValues) {
  EXPECT_EQ(reg_get_dword("HKCU", key_, "xs"), -1);  // no key
  EXPECT_EQ(reg_set_dword("HKCU", key_, "xs", 700), 0);
  EXPECT_EQ(reg_get_dword("HKCU", key_, "xs"), 700);
  EXPECT_EQ(reg_get_dword("HKCU", key_, "ys"), -1);  // key, but no value
  EXPECT_EQ(reg_set_dword("HKCU", key_, "big", 0x7FFFFFFF), 0);
  EXPECT_EQ(reg_get_dword("HKCU", key_, "big"), 0x7FFFFFFF);
  EXPECT_EQ(reg_set_dword("HKCU", key_, "all", -1), 0);
  EXPECT_EQ(reg_get_dword("HKCU", key_, "all"), -1);
}

TEST_F(RegistryTest, DwordOfAnotherTypeOrSizeIsUnusable) {
  store_raw("text", REG_SZ, L"700", 8);
  const DWORD four = 4;
  store_raw("binary", REG_BINARY, &four, 4);
  const unsigned long long wide = 5;
  store_raw("qword", REG_QWORD, &wide, 8);
  store_raw("short", REG_DWORD, &four, 2);
  EXPECT_EQ(reg_get_dword("HKCU", key_, "text"), -1);
  EXPECT_EQ(reg_get_dword("HKCU", key_, "binary"), -1);
  EXPECT_EQ(reg_get_dword("HKCU", key_, "qword"), -1);
  EXPECT_EQ(reg_get_dword("HKCU", key_, "short"), -1);
}

TEST_F(RegistryTest, OnlyTheExactRootTextMeansTheCurrentUser) {
  ASSERT_EQ(reg_set_dword("HKCU", key_, "un", 3), 0);
  EXPECT_EQ(reg_get_dword("HKCU", key_, "un"), 3);
  // Any other text reads the local machine, where the test key does not exist.
  EXPECT_EQ(reg_get_dword("hkcu", key_, "un"), -1);
  EXPECT_EQ(reg_get_dword("HKLM", key_, "un"), -1);
  EXPECT_EQ(reg_get_string("HKCU ", key_, "un"), std::nullopt);
}

TEST_F(RegistryTest, StringRoundTripKeepsUnicode) {
  const std::string text =
      "Gr\xc3\xbc\xc3\x9f"
      "e \xe2\x80\x94 \xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e";
  EXPECT_EQ(reg_get_string("HKCU", key_, "mf"), std::nullopt);
  EXPECT_EQ(reg_set_string("HKCU", key_, "mf", text), 0);
  EXPECT_EQ(reg_get_string("HKCU", key_, "mf"), text);
  const std::string long_text(300, 'v');
  EXPECT_EQ(reg_set_string("HKCU", key_, "iv", long_text), 0);
  EXPECT_EQ(reg_get_string("HKCU", key_, "iv"), long_text);
  // Results are independent copies: a later call leaves an earlier result alone.
  const std::optional<std::string> first = reg_get_string("HKCU", key_, "mf");
  reg_get_string("HKCU", key_, "iv");
  EXPECT_EQ(first, text);
}

TEST_F(RegistryTest, StringThatIsEmptyOrOfAnotherTypeIsAbsent) {
  EXPECT_EQ(reg_set_string("HKCU", key_, "mf", ""), 0);
  EXPECT_EQ(reg_get_string("HKCU", key_, "mf"), std::nullopt);
  ASSERT_EQ(reg_set_dword("HKCU", key_, "iv", 12), 0);
  EXPECT_EQ(reg_get_string("HKCU", key_, "iv"), std::nullopt);
  store_raw("none", REG_SZ, L"", 0);
  EXPECT_EQ(reg_get_string("HKCU", key_, "none"), std::nullopt);
}

TEST_F(RegistryTest, StringStoredWithoutTerminatorIsEndedAnyway) {
  store_raw("iv", REG_SZ, L"viewer.exe", 10 * sizeof(wchar_t));  // no terminator stored
  EXPECT_EQ(reg_get_string("HKCU", key_, "iv"), "viewer.exe");
  store_raw("odd", REG_SZ, L"abc", 5);  // half a character at the end
  const std::optional<std::string> odd = reg_get_string("HKCU", key_, "odd");
  ASSERT_TRUE(odd.has_value());
  EXPECT_EQ(odd->substr(0, 2), "ab");
  store_raw("inner", REG_SZ, L"ab\0cd", 6 * sizeof(wchar_t));
  EXPECT_EQ(reg_get_string("HKCU", key_, "inner"), "ab");
}

TEST_F(RegistryTest, EmptyValueNameIsTheKeysDefaultValue) {
  EXPECT_EQ(reg_set_string("HKCU", key_, "", "C:\\Browser\\browser.exe"), 0);
  EXPECT_EQ(reg_get_string("HKCU", key_), "C:\\Browser\\browser.exe");
  EXPECT_EQ(reg_get_string("HKCU", key_, ""), "C:\\Browser\\browser.exe");
}

TEST_F(RegistryTest, WritesThatCannotBeDoneReportFailure) {
  // A key name component longer than the registry allows cannot be created.
  const std::string bad = key_ + "\\" + std::string(300, 'k');
  EXPECT_EQ(reg_set_dword("HKCU", bad, "xs", 1), 1);
  EXPECT_EQ(reg_set_string("HKCU", bad, "mf", "Tahoma"), 2);
  EXPECT_EQ(reg_get_dword("HKCU", bad, "xs"), -1);
}

}  // namespace
}  // namespace kelvane
