#include <gtest/gtest.h>

#include "app/utils_path.h"
#include "app/utils_text.h"

namespace {

TEST(TextConversion, Utf8RoundTripsChineseText) {
  const std::wstring text = L"正在安装中:35%，请稍候...";
  const std::string utf8 = Utils::ToNarrow(text, Utils::kCodePageUtf8);
  EXPECT_EQ(utf8, "\xE6\xAD\xA3\xE5\x9C\xA8\xE5\xAE\x89\xE8\xA3\x85\xE4\xB8\xAD:35%\xEF\xBC\x8C"
                  "\xE8\xAF\xB7\xE7\xA8\x8D\xE5\x80\x99...");
  EXPECT_EQ(Utils::ToWide(utf8, Utils::kCodePageUtf8), text);
}

TEST(TextConversion, CodePage936DecodesGbk) {
  // "安装" in GBK.
  EXPECT_EQ(Utils::ToWide("\xB0\xB2\xD7\xB0", 936), L"安装");
  EXPECT_EQ(Utils::ToNarrow(L"安装", 936), "\xB0\xB2\xD7\xB0");
}

TEST(TextConversion, MalformedUtf8BecomesReplacementAndEmptyStaysEmpty) {
  EXPECT_EQ(Utils::ToWide("a\xE5\xAE", Utils::kCodePageUtf8), L"a\xFFFD");
  EXPECT_EQ(Utils::ToWide("", Utils::kCodePageUtf8), L"");
}

TEST(Trim, RemovesOnlyAsciiWhiteSpace) {
  EXPECT_EQ(Utils::TrimAscii(L" \t\r\n\v\fSuccess \r"), L"Success");
  EXPECT_EQ(Utils::TrimAscii(L"\x3000Success"), L"\x3000Success");
  EXPECT_EQ(Utils::TrimAscii(L"  "), L"");
}

TEST(JoinPath, InsertsOneSeparatorAndRefusesOverlongPaths) {
  const std::wstring sep(1, Utils::PathSeparator());
  EXPECT_EQ(Utils::JoinPath(L"D:\\Apps", L"Quorvane"), L"D:\\Apps" + sep + L"Quorvane");
  EXPECT_EQ(Utils::JoinPath(L"D:\\Apps\\", L"Quorvane"), L"D:\\Apps\\Quorvane");
  EXPECT_EQ(Utils::JoinPath(L"/tmp/", L"x"), L"/tmp/x");
  const std::wstring dir(250, L'a');
  EXPECT_EQ(Utils::JoinPath(dir, L"12345678").size(), 259u);
  EXPECT_EQ(Utils::JoinPath(dir, L"123456789"), L"");
}

TEST(RemoveLastComponent, CutsAtTheLastSeparator) {
  EXPECT_EQ(Utils::RemoveLastComponent(L"C:\\a\\b.exe"), L"C:\\a");
  EXPECT_EQ(Utils::RemoveLastComponent(L"/x/y"), L"/x");
  EXPECT_EQ(Utils::RemoveLastComponent(L"name"), L"");
}

}  // namespace
