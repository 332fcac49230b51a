#include "app/config.h"

#include <gtest/gtest.h>


#include "app/cmdline.h"
#include "app/test_support.h"
#include "app/utils_path.h"

namespace {

using testing_support::ScratchDir;
using testing_support::WriteBytes;

TEST(ParseDecimal, TakesTheLongestNumberPrefix) {
  struct Case {
    const wchar_t* text;
    std::optional<double> value;
  };
  const Case cases[] = {
      {L"0.5", 0.5},
      {L"0.5abc", 0.5},
      {L"0.25 percent", 0.25},
      {L" \t 0.7", 0.7},
      {L"-1.25e1x", -12.5},
      {L"+2", 2.0},
      {L".5", 0.5},
      {L"5.", 5.0},
      {L"1e", 1.0},     // an exponent needs digits; "e" is the rest
      {L"1e+", 1.0},
      {L"2E-1", 0.2},
      {L"1,5", 1.0},    // the point is always '.', whatever the locale
      {L"0x10", 0.0},   // no hexadecimal form
      {L"1e308", 1e308},
      {L"abc", std::nullopt},
      {L"", std::nullopt},
      {L"-", std::nullopt},
      {L".", std::nullopt},
      {L"-.e1", std::nullopt},
      {L"inf", std::nullopt},
      {L"nan", std::nullopt},
      {L"1e400", std::nullopt},  // too large for a double
      {L"-1e400", std::nullopt},
      {L"1e-400", std::nullopt},  // too small
  };
  for (const Case& c : cases) EXPECT_EQ(ParseDecimal(c.text), c.value) << c.text;
}

TEST(CommandLineArgs, SplitsKeysAndValuesFirstOccurrenceWins) {
  const CommandLineArgs args = CommandLineArgs::FromCommandLine(
      L"\"C:\\dl\\QuorvaneSetup.exe\" -downloadscale=0.5 -downloadscale=0.9 -ischecknet "
      L"\"-instcmd=/S /D=C:\\x=y\" plain -DownloadUrl=x -empty=");
  const std::map<std::wstring, std::wstring> expected = {
      {L"C:\\dl\\QuorvaneSetup.exe", L""},
      {L"-downloadscale", L"0.5"},
      {L"-ischecknet", L""},
      {L"-instcmd", L"/S /D=C:\\x=y"},
      {L"plain", L""},
      {L"-DownloadUrl", L"x"},
      {L"-empty", L""},
  };
  EXPECT_EQ(args.entries(), expected);
}

TEST(CommandLineArgs, QueriesFallBackOnlyWhenTheyMust) {
  const CommandLineArgs args = CommandLineArgs::FromCommandLine(
      L"p -yes=true -True=True -bare -n=0.25x -bad=x");
  EXPECT_TRUE(args.contains(L"-bare"));
  EXPECT_FALSE(args.contains(L"-BARE"));
  EXPECT_EQ(args.text(L"-n"), L"0.25x");
  EXPECT_EQ(args.text(L"-missing"), L"");
  EXPECT_TRUE(args.flag(L"-yes", false));
  EXPECT_FALSE(args.flag(L"-True", true));  // the value must be exactly "true"
  EXPECT_FALSE(args.flag(L"-bare", true));
  EXPECT_TRUE(args.flag(L"-missing", true));
  EXPECT_EQ(args.number(L"-n", 9.0), 0.25);
  EXPECT_EQ(args.number(L"-bad", 9.0), 9.0);
  EXPECT_EQ(args.number(L"-missing", 9.0), 9.0);
}

// A system whose answers the test chooses; counts how often it is asked.
struct FakeSystem {
  std::wstring version;
  bool is64 = false;
  int productId = kProductId;
  int asked = 0;

  RouteProbe Probe() {
    return {[this] {
              ++asked;
              return version;
            },
            [this] {
              ++asked;
              return is64;
            },
            productId};
  }
};

TEST(ResolveRoute, ChoosesTheRouteFromTheSystem) {
  struct Case {
    const wchar_t* version;
    bool is64;
    int productId;
    const wchar_t* route;
  };
  const Case cases[] = {
      {L"XP-", false, kProductId, L"download_silent_xp"},
      {L"XP", false, kProductId, L"download_silent_xp"},
      {L"XP+", true, kProductId, L"download_silent_xp"},
      {L"2K", false, kProductId, L"download_silent"},
      {L"Server 2003", false, kProductId, L"download_silent"},
      {L"Server 2003 R2", false, kProductId, L"download_silent"},
      {L"7", false, kProductId, L"download_silent"},
      {L"10", true, kProductId, L"download_silent"},  // this product has no 64-bit package
      {L"11.0.22000", true, kProductId, L"download_silent"},
      {L"10", true, 385, L"download_silent_64"},
      {L"10", false, 385, L"download_silent"},
      {L"XP", true, 134, L"download_silent_xp"},
  };
  for (const Case& c : cases) {
    FakeSystem system{c.version, c.is64, c.productId};
    EXPECT_EQ(ResolveRoute(L"https://h.example/${ROUTE}/setup", system.Probe()),
              std::wstring(L"https://h.example/") + c.route + L"/setup")
        << c.version << " " << c.productId;
  }
}

TEST(ResolveRoute, ReplacesEveryPlaceholderAndLeavesOtherAddressesAlone) {
  FakeSystem system{L"7"};
  EXPECT_EQ(ResolveRoute(L"https://h.example/${ROUTE}?r=${ROUTE}&x=${route}", system.Probe()),
            L"https://h.example/download_silent?r=download_silent&x=${route}");
  system.asked = 0;
  EXPECT_EQ(ResolveRoute(L"https://h.example/$ROUTE/{ROUTE}", system.Probe()),
            L"https://h.example/$ROUTE/{ROUTE}");
  EXPECT_EQ(system.asked, 0);  // the system is asked only for a placeholder
  EXPECT_FALSE(HasPackage64(kProductId));
}

TEST(InstallerConfig, DefaultsWithoutFileOrOptions) {
  FakeSystem system{L"10", true};
  InstallerConfig config(system.Probe());
  ScratchDir dir;
  config.ReadConfigFile(dir.File(L"OrinInstallerConfig.ini"));  // not there
  EXPECT_EQ(config.DownloadUrl(), kDefaultDownloadUrl);
  EXPECT_NE(config.DownloadUrl().find(L"/openapi/download?ch=10009&app=50003"), std::wstring::npos);
  EXPECT_EQ(config.DownloadUrl().rfind(L"https://", 0), 0u);
  EXPECT_FALSE(config.IsCheckNet());
  EXPECT_EQ(config.DownloadScale(), 0.7);
  EXPECT_EQ(config.InstCmd(), L"");
  EXPECT_EQ(config.DlAppNameSuffix(), L".downloader");
  EXPECT_EQ(config.DlAppVersion(), L"");
  EXPECT_TRUE(config.ProductInfoEnabled());
}

struct FileCase {
  const char* what;
  std::string file;
  std::wstring url;
  bool checkNet;
  double scale;
  std::wstring instCmd;
  std::wstring suffix;
  std::wstring version;
};

TEST(InstallerConfig, ReadsTheFile) {
  const std::wstring d = kDefaultDownloadUrl;
  const FileCase cases[] = {
      {"section header only", "[Install]\r\n", d, true, 0.7, L"", L".downloader", L""},
      {"other sections only", "[Other]\r\nIsCheckNet=false\r\n", d, true, 0.7, L"", L".downloader",
       L""},
      {"all keys",
       "[Install]\r\nDownloadUrl=https://m.example/${ROUTE}/q\r\nIsCheckNet=false\r\n"
       "DlAppNameSuffix=.dl\r\nm_DlAppVersion=2.1\r\nDownloadScale=0.25 percent\r\n"
       "InstCmd=/quiet /lang=zh\r\n",
       L"https://m.example/download_silent_xp/q", false, 0.25, L"/quiet /lang=zh", L".dl", L"2.1"},
      {"case of the value counts", "[Install]\nIsCheckNet=True\n", d, false, 0.7, L"",
       L".downloader", L""},
      {"exact true", "[Install]\nIsCheckNet=true\n", d, true, 0.7, L"", L".downloader", L""},
      {"scale not a number", "[Install]\nDownloadScale=abc\n", d, true, 0.0, L"", L".downloader",
       L""},
      {"scale out of range", "[Install]\nDownloadScale=1e999\n", d, true, 0.0, L"", L".downloader",
       L""},
      {"present empty values", "[Install]\nDownloadUrl=\nDlAppNameSuffix=\nDownloadScale=\n", L"",
       true, 0.0, L"", L"", L""},
      {"key names ignore case", "[INSTALL]\ndownloadscale=0.5\nINSTCMD=-x\n", d, true, 0.5, L"-x",
       L".downloader", L""},
  };
  for (const FileCase& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    const std::wstring path = dir.File(L"OrinInstallerConfig.ini");
    WriteBytes(path, c.file);
    FakeSystem system{L"XP"};
    InstallerConfig config(system.Probe());
    config.ReadConfigFile(path);
    EXPECT_EQ(config.DownloadUrl(), c.url);
    EXPECT_EQ(config.IsCheckNet(), c.checkNet);
    EXPECT_EQ(config.DownloadScale(), c.scale);
    EXPECT_EQ(config.InstCmd(), c.instCmd);
    EXPECT_EQ(config.DlAppNameSuffix(), c.suffix);
    EXPECT_EQ(config.DlAppVersion(), c.version);
  }
}

TEST(InstallerConfig, ValuesAreCutTo259Characters) {
  ScratchDir dir;
  const std::wstring path = dir.File(L"OrinInstallerConfig.ini");
  WriteBytes(path, "[Install]\nInstCmd=" + std::string(400, 'x') + "\n");
  InstallerConfig config;
  config.ReadConfigFile(path);
  EXPECT_EQ(config.InstCmd(), std::wstring(259, L'x'));
}

TEST(InstallerConfig, CommandLineOverridesTheFile) {
  struct Case {
    const wchar_t* line;
    std::wstring url;
    bool checkNet;
    double scale;
    std::wstring instCmd;
  };
  // The record starts from a file that sets every field.
  const std::wstring fileUrl = L"https://f.example/x";
  const Case cases[] = {
      {L"setup.exe", fileUrl, true, 0.4, L"/f"},
      {L"setup.exe -downloadurl=https://c.example/${ROUTE}/s -downloadscale=0.5 -ischecknet=false "
       L"\"-instcmd=/S /D=C:\\Program Files\"",
       L"https://c.example/download_silent/s", false, 0.5, L"/S /D=C:\\Program Files"},
      {L"setup.exe -downloadurl -ischecknet -instcmd", L"", false, 0.4, L""},
      {L"setup.exe -downloadscale=0.1 -downloadscale=0.9", fileUrl, true, 0.1, L"/f"},
      {L"setup.exe -downloadscale=abc", fileUrl, true, 0.4, L"/f"},  // keeps the earlier value
      {L"setup.exe -downloadscale=1e400", fileUrl, true, 0.4, L"/f"},
      {L"setup.exe -downloadscale", fileUrl, true, 0.4, L"/f"},
      {L"setup.exe -DownloadUrl=x -IsCheckNet=false -downloadurl", L"", true, 0.4, L"/f"},
      {L"setup.exe -ischecknet=TRUE --instcmd=x", fileUrl, false, 0.4, L"/f"},
  };
  ScratchDir dir;
  const std::wstring path = dir.File(L"OrinInstallerConfig.ini");
  WriteBytes(path,
             "[Install]\nDownloadUrl=https://f.example/x\nIsCheckNet=true\nDownloadScale=0.4\n"
             "InstCmd=/f\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.line);
    FakeSystem system{L"10"};
    InstallerConfig config(system.Probe());
    config.ReadConfigFile(path);
    ApplyCommandLineOverrides(config, c.line);
    EXPECT_EQ(config.DownloadUrl(), c.url);
    EXPECT_EQ(config.IsCheckNet(), c.checkNet);
    EXPECT_EQ(config.DownloadScale(), c.scale);
    EXPECT_EQ(config.InstCmd(), c.instCmd);
  }
}

TEST(InstallerConfig, ProcessRecordLooksBesideTheExecutable) {
  const std::wstring exe = Utils::GetExecutablePath();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(InstallerConfigFilePath(),
            Utils::JoinPath(Utils::RemoveLastComponent(exe), L"OrinInstallerConfig.ini"));
  // No file lies beside the test program, so the record holds the defaults.
  EXPECT_EQ(InstallerConfig::Instance().DownloadScale(), 0.7);
  EXPECT_FALSE(InstallerConfig::Instance().IsCheckNet());
}

}  // namespace
