#include <gtest/gtest.h>

#include "engine/downloader.h"
#include "engine/package_installer.h"
#include "engine/uninstaller.h"

namespace {

TEST(PackageCommandLine, CarriesEveryPieceInOrder) {
  struct Case {
    const wchar_t* dir;
    bool admin, authorization, dsc, ssc;
    const wchar_t* instCmd;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"D:\\Apps\\Quorvane", true, true, true, true, L"",
       L"\"D:\\Apps\\Quorvane\\package_Quorvane.exe\" /S -console=show -version=1.0.0.0 "
       L"-adminact=true -authorizationact=true -dsc=true -ssc=true "
       L"-instdir=\"D:\\Apps\\Quorvane\" /D=D:\\Apps\\Quorvane"},
      {L"D:\\My Apps\\Quorvane", false, true, false, true, L"-lang=zh -x",
       L"\"D:\\Apps\\Quorvane\\package_Quorvane.exe\" /S -console=show -version=1.0.0.0 "
       L"-adminact=false -authorizationact=true -dsc=false -ssc=true -lang=zh -x "
       L"-instdir=\"D:\\My Apps\\Quorvane\" /D=D:\\My Apps\\Quorvane"},
      {L"", true, false, true, false, L"",
       L"\"D:\\Apps\\Quorvane\\package_Quorvane.exe\" /S -console=show -version=1.0.0.0 "
       L"-adminact=true -authorizationact=false -dsc=true -ssc=false"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CPackageInstaller::ComposeCommandLine(L"\"D:\\Apps\\Quorvane\\package_Quorvane.exe\"",
                                                    c.dir, c.admin, c.authorization, c.dsc, c.ssc,
                                                    c.instCmd),
              c.expected);
  }
}

TEST(UninstallerCommandLine, EndsWithTheBareDirectory) {
  EXPECT_EQ(CUninstaller::ComposeCommandLine(L"C:\\Temp\\~OrinTemp\\Quorvane_uninstall.exe", true,
                                             true, L"D:\\Apps\\Quorvane"),
            L"C:\\Temp\\~OrinTemp\\Quorvane_uninstall.exe /S -adminact=true "
            L"-authorizationact=true -console=show _?=D:\\Apps\\Quorvane");
  // A copy path with a blank is quoted, so the system cannot run a prefix of it.
  EXPECT_EQ(CUninstaller::ComposeCommandLine(L"C:\\Users\\A B\\Temp\\~OrinTemp\\u.exe", false,
                                             true, L"D:\\My Apps\\Quorvane"),
            L"\"C:\\Users\\A B\\Temp\\~OrinTemp\\u.exe\" /S -adminact=false "
            L"-authorizationact=true -console=show _?=D:\\My Apps\\Quorvane");
}

TEST(EscapeUrl, KeepsPrintableAsciiAndEscapesTheRest) {
  const struct {
    const wchar_t* url;
    const wchar_t* escaped;
  } cases[] = {
      {L"http://h/openapi/download?ch=10009&app=50003", L"http://h/openapi/download?ch=10009&app=50003"},
      {L"http://h/a b", L"http://h/a+b"},
      {L"http://h/a%20b", L"http://h/a%20b"},
      {L"http://h/安装", L"http://h/%E5%AE%89%E8%A3%85"},
      {L"http://h/\t\x7F~!", L"http://h/%09%7F~!"},
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(EscapeUrl(c.url), c.escaped);
}

}  // namespace
