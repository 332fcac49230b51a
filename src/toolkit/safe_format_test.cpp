#include "toolkit/safe_format.h"

#include <gtest/gtest.h>

#include "app/utils_text.h"

namespace DuiLib {
namespace {

TEST(SafeFormat, FormatsOneIntegerConversion) {
  struct Case {
    const wchar_t* format;
    int32_t value;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"res\\mainWnd\\installBtnAnimate\\%.3d.png", 0, L"res\\mainWnd\\installBtnAnimate\\000.png"},
      {L"%.3d.png", 42, L"042.png"},
      {L"%.3d.png", 1234, L"1234.png"},
      {L"%d", -7, L"-7"},
      {L"%.3d", -7, L"-007"},
      {L"%03d", -7, L"-07"},
      {L"%5d|", 42, L"   42|"},
      {L"%-5d|", 42, L"42   |"},
      {L"%+d", 5, L"+5"},
      {L"% d", 5, L" 5"},
      {L"%i", 9, L"9"},
      {L"%u", -1, L"4294967295"},
      {L"%.0d", 0, L""},
      {L"%d", INT32_MIN, L"-2147483648"},
      {L"%d%% done", 50, L"50% done"},
      {L"100%% at %d", 3, L"100% at 3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utils::ToNarrow(c.format, Utils::kCodePageUtf8));
    std::wstring out;
    EXPECT_TRUE(FormatInteger(c.format, c.value, out));
    EXPECT_EQ(out, c.expected);
  }
}

TEST(SafeFormat, RefusesEverythingElse) {
  const std::wstring refused[] = {
      L"",          L"plain.png",  L"%%",      L"%s",      L"%n",     L"%x",     L"%p",
      L"%ls",       L"%d%d",       L"%d %s",   L"%ld",     L"%lld",   L"%hd",    L"%*d",
      L"%.*d",      L"%99999d",    L"%.99999d", L"%260d",  L"%",      L"%.",     L"abc%",
      L"%1$d",      L"%-",         L"%c",      L"%f",
  };
  for (const std::wstring& format : refused) {
    SCOPED_TRACE(Utils::ToNarrow(format, Utils::kCodePageUtf8));
    std::wstring out = L"left over";
    EXPECT_FALSE(FormatInteger(format, 1, out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(IsIntegerFormat(format));
  }
}

TEST(SafeFormat, NeverExceedsTheLengthLimit) {
  std::wstring out;
  // 255 characters of text and three digits fit; one more does not.
  const std::wstring fits = std::wstring(255, L'a') + L"%.3d.";
  EXPECT_TRUE(FormatInteger(fits, 1, out));
  EXPECT_EQ(out.size(), 259u);
  EXPECT_FALSE(FormatInteger(std::wstring(256, L'a') + L"%.3d.", 1, out));
  EXPECT_FALSE(FormatInteger(std::wstring(100000, L'a') + L"%d", 1, out));
  EXPECT_FALSE(FormatInteger(L"%259d!", 1, out));
  EXPECT_TRUE(FormatInteger(L"%259d", 1, out));
  EXPECT_EQ(out.size(), 259u);
  // The progress text of "userdata" has its own, smaller limit.
  EXPECT_TRUE(FormatInteger(L"%d%%", 100, out, 4));
  EXPECT_FALSE(FormatInteger(L"%d%%", 1000, out, 4));
}

}  // namespace
}  // namespace DuiLib
