#include "engine/report_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Event {
  int32_t code;
  double value;
  std::wstring text;
  bool operator==(const Event& o) const {
    return code == o.code && value == o.value && text == o.text;
  }
};

void PrintTo(const Event& e, std::ostream* os) {
  *os << "{" << e.code << ", " << e.value << ", \"";
  for (wchar_t c : e.text) {
    if (c >= 0x20 && c < 0x7F) *os << static_cast<char>(c);
    else *os << "\\u" << std::hex << static_cast<unsigned>(c) << std::dec;
  }
  *os << "\"}";
}

struct Recorder {
  std::vector<Event> events;
  ProgressCallback Callback() {
    return [this](int32_t code, double value, const wchar_t* text) {
      events.push_back({code, value, text});
    };
  }
};

std::vector<Event> ReadAll(Report::CReportReader::Protocol protocol, std::string_view output) {
  Recorder r;
  Report::CReportReader reader(protocol, r.Callback());
  reader.Feed(output);
  reader.Finish();
  return r.events;
}

std::vector<Event> Package(std::string_view output) {
  return ReadAll(Report::CReportReader::Protocol::Package, output);
}
std::vector<Event> Uninstaller(std::string_view output) {
  return ReadAll(Report::CReportReader::Protocol::Uninstaller, output);
}

struct LineCase {
  const char* line;
  std::vector<Event> events;
};

TEST(PackageReport, EachKeyRaisesItsEvent) {
  const std::wstring fail = L"安装包安装失败";
  const std::vector<LineCase> cases = {
      {"Progress=0.5", {{2002, 0.5, L""}}},
      {"Progress=  +2.5e-1xyz", {{2002, 0.25, L""}}},
      {"Progress=abc", {{2002, 0, L""}}},
      {"Progress=", {{2002, 0, L""}}},
      {"Progress=.5", {{2002, 0.5, L""}}},
      {"Progress=1e", {{2002, 1, L""}}},
      {"Progress=inf", {{2002, 0, L""}}},
      {"InstPath=D:\\My Apps\\Quorvane", {{3000, 0, L"D:\\My Apps\\Quorvane"}}},
      {"InstPath=", {{3000, 0, L""}}},
      {"InstPath=  padded  ", {{3000, 0, L"  padded  "}}},
      {"State=Success", {{2003, 0, L""}}},
      {"State=  Success \t", {{2003, 0, L""}}},
      {"State=Fail", {{2004, 0, fail}}},
      {"State=success", {}},
      {"State=Pending", {}},
      {" State=Success", {}},
      {"state=Success", {}},
      {"ExePath=C:\\q.exe", {{3001, 0, L"C:\\q.exe"}}},
      {"StartExe=C:\\s.exe", {{3001, 0, L"C:\\s.exe"}}},
      {"UninstExePath=C:\\u.exe", {{3002, 0, L"C:\\u.exe"}}},
      {"UninstExe=C:\\v.exe", {{3002, 0, L"C:\\v.exe"}}},
      {"UninstEp=C:\\w.exe", {{3003, 0, L"C:\\w.exe"}}},
      {"Error=disk full", {{2004, 1000, L"disk full"}}},
      {"Error=", {{2004, 1000, L""}}},
      {"TopShowDetention=3000", {{3007, 3000, L""}}},
      {"TopShowDetention=-1", {{3007, 4294967295.0, L""}}},
      {"TopShowDetention=x", {{3007, 0, L""}}},
      {"FinsihCloseDetention=12", {{3008, 12, L""}}},
      {"FinishCloseDetention=12", {}},
      {"StartUrl=https://example.invalid/", {{3004, 0, L"https://example.invalid/"}}},
      {"StartupStyle=NonStartup", {{3005, 0, L""}}},
      {"StartupStyle=AutoStartup\r", {{3005, 1, L""}}},
      {"StartupStyle=UserStartup", {{3005, 2, L""}}},
      {"StartupStyle=Whatever", {{3005, 2, L""}}},
      {"Message=hello", {{3009, 0, L"hello"}}},
      {"InstallVersion=1.2.3", {}},
      {"Encode=UTF8", {}},
      {"Progress", {}},
      {"", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(Package(c.line), c.events);
  }
}

TEST(PackageReport, TextValuesKeepCarriageReturnAndStopAt771Characters) {
  EXPECT_EQ(Package("InstPath=D:\\Q\r\nState=Success\r\n"),
            (std::vector<Event>{{3000, 0, L"D:\\Q\r"}, {2003, 0, L""}}));
  const std::string at(771, 'a'), over(772, 'a');
  EXPECT_EQ(Package("Message=" + at), (std::vector<Event>{{3009, 0, std::wstring(771, L'a')}}));
  EXPECT_EQ(Package("Message=" + over), (std::vector<Event>{{3009, 0, L""}}));
}

TEST(PackageReport, TheReadWithTheFinalLineEndsTheReport) {
  // Lines after the final one in the same read still count...
  EXPECT_EQ(Package("Progress=0.5\nError=bad\nState=Fail\nProgress=1\n"),
            (std::vector<Event>{{2002, 0.5, L""},
                                {2004, 1000, L"bad"},
                                {2004, 0, L"安装包安装失败"},
                                {2002, 1, L""}}));
  // ...those of later reads raise nothing, a line finished there included.
  Recorder r;
  Report::CReportReader reader(Report::CReportReader::Protocol::Package, r.Callback());
  reader.Feed("State=Success\nMessage=a");
  reader.Feed("b\nState=Fail\n");
  reader.Finish();
  EXPECT_EQ(r.events, (std::vector<Event>{{2003, 0, L""}}));
}

TEST(PackageReport, InstallVersionKeepsWhatItCannotRead) {
  struct Case {
    const char* lines;
    int32_t major, minor, build;
  };
  const Case cases[] = {
      {"InstallVersion=1.2.3\n", 1, 2, 3},
      {"InstallVersion=4.5.6\nInstallVersion=7.x\n", 7, 5, 6},
      {"InstallVersion= 8 . 9\n", 8, 0, 0},
      {"InstallVersion=-1.2\n", -1, 2, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    Report::CReportReader reader(Report::CReportReader::Protocol::Package, nullptr);
    reader.Feed(c.lines);
    const auto& v = reader.State().installedVersion;
    EXPECT_EQ(v[0], c.major);
    EXPECT_EQ(v[1], c.minor);
    EXPECT_EQ(v[2], c.build);
  }
}

TEST(PackageReport, EncodeSetsTheCodePageOfTheLinesAfterIt) {
  struct Case {
    const char* word;
    int32_t codePage;
  };
  const Case cases[] = {
      {"UTF8", 65001},  {"ACP", 0},           {"936", 936},         {" 936abc\r", 936},
      {"utf8", 0},      {"-5", -5},           {"2147483647", 2147483647},
      {"2147483648", 0}, {"-2147483649", 0}, {"99999999999999999999999", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word);
    Report::CReportReader reader(Report::CReportReader::Protocol::Package, nullptr);
    reader.Feed(std::string("Encode=65001\nEncode=") + c.word + "\n");
    EXPECT_EQ(reader.CodePage(), c.codePage);
  }
}

TEST(PackageReport, DecodesUtf8AndCodePage936AfterEncode) {
  // "安装" in UTF-8 and in GBK.
  EXPECT_EQ(Package("Encode=UTF8\nMessage=\xE5\xAE\x89\xE8\xA3\x85\n"),
            (std::vector<Event>{{3009, 0, L"安装"}}));
  EXPECT_EQ(Package("Encode=936\nMessage=\xB0\xB2\xD7\xB0\n"),
            (std::vector<Event>{{3009, 0, L"安装"}}));
  // A code page the system does not have decodes to nothing: the line is empty.
  EXPECT_EQ(Package("Encode=-5\nState=Success\nError=x\n"), (std::vector<Event>{}));
}

TEST(PackageReport, AZeroByteEndsTheLineText) {
  EXPECT_EQ(Package(std::string("Message=ab\0cd\nState=Success\n", 27)),
            (std::vector<Event>{{3009, 0, L"ab"}, {2003, 0, L""}}));
}

TEST(UninstallerReport, KnowsOnlyItsFourKeys) {
  const std::vector<LineCase> cases = {
      {"Progress=0.75", {{5002, 0.75, L""}}},
      {"Progress=no", {{5002, 0, L""}}},
      {"Error=locked", {{5004, 0, L"locked"}}},
      {"State=Success", {{5003, 0, L""}}},
      {"State=Fail\r", {{5004, 0, L"安装包卸载失败"}}},
      {"State=Other", {}},
      {"InstPath=C:\\x", {}},
      {"Message=hi", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(Uninstaller(c.line), c.events);
  }
}

TEST(UninstallerReport, ReadsOnAfterTheFinalLineAndKnowsNoCodePageNumbers) {
  EXPECT_EQ(Uninstaller("State=Success\nProgress=1\n"),
            (std::vector<Event>{{5003, 0, L""}, {5002, 1, L""}}));
  Report::CReportReader reader(Report::CReportReader::Protocol::Uninstaller, nullptr);
  reader.Feed("Encode=UTF8\n");
  EXPECT_EQ(reader.CodePage(), 65001);
  reader.Feed("Encode=936\n");
  EXPECT_EQ(reader.CodePage(), 0);
  EXPECT_TRUE(!reader.SawFinal());
}

// Cutting the output into two reads at every position, and into single
// bytes, must give the events of the whole output: lines and multi-byte
// characters are joined across reads.
TEST(ReportSplitting, OutputCutAnywhereGivesTheSameEvents) {
  const std::string output =
      "Progress=0.125\r\nEncode=UTF8\nMessage=\xE5\xAE\x89\xE8\xA3\x85 \xF0\x9F\x98\x80\n"
      "Encode=936\nInstPath=C:\\\xB0\xB2\xD7\xB0\nTopShowDetention=-1\nState=Success";
  const std::vector<Event> whole = Package(output);
  ASSERT_EQ(whole.size(), 5u);
  EXPECT_EQ(whole[1].text, std::wstring(L"安装 ") + (sizeof(wchar_t) == 2 ? L"\xD83D\xDE00" : L"\U0001F600"));
  EXPECT_EQ(whole[2].text, L"C:\\安装");
  for (size_t cut = 0; cut <= output.size(); ++cut) {
    SCOPED_TRACE(cut);
    Recorder r;
    Report::CReportReader reader(Report::CReportReader::Protocol::Package, r.Callback());
    reader.Feed(std::string_view(output).substr(0, cut));
    reader.Feed(std::string_view(output).substr(cut));
    reader.Finish();
    EXPECT_EQ(r.events, whole);
  }
  Recorder bytes;
  Report::CReportReader reader(Report::CReportReader::Protocol::Package, bytes.Callback());
  for (char c : output) reader.Feed(std::string_view(&c, 1));
  reader.Finish();
  EXPECT_EQ(bytes.events, whole);
}

TEST(ReportSplitting, AnOverlongLineIsCutNotHeldWhole) {
  Report::CLineSplitter splitter;
  std::vector<std::pair<size_t, bool>> lines;
  auto onLine = [&](std::string_view line, bool cut) { lines.emplace_back(line.size(), cut); };
  const std::string block(Report::CLineSplitter::kMaxLine / 4 + 1, 'x');
  for (int i = 0; i < 8; ++i) splitter.Feed(block, onLine);
  splitter.Feed("\nshort\n", onLine);
  splitter.Feed(std::string(Report::CLineSplitter::kMaxLine + 5, 'y') + "\n", onLine);
  const std::vector<std::pair<size_t, bool>> expected = {
      {Report::CLineSplitter::kMaxLine, true}, {5, false}, {Report::CLineSplitter::kMaxLine, true}};
  EXPECT_EQ(lines, expected);
  // A long "Error=" line still ends the run as a failure, with the empty text
  // that any value over 771 characters gets.
  EXPECT_EQ(Package("Error=" + std::string(200000, 'e') + "\n"),
            (std::vector<Event>{{2004, 1000, L""}}));
}

TEST(ReportNumbers, ReadIntegerSaturatesAndStopsAtTheFirstNonDigit) {
  struct Case {
    const wchar_t* text;
    bool ok;
    int64_t value;
    const wchar_t* rest;
  };
  const Case cases[] = {
      {L" \t-42x", true, -42, L"x"},
      {L"+7", true, 7, L""},
      {L"- 7", false, 0, L"- 7"},
      {L"99999999999999999999", true, INT64_MAX, L""},
      {L"-9223372036854775808", true, INT64_MIN, L""},
      {L"-99999999999999999999.5", true, INT64_MIN, L".5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
    std::wstring_view text = c.text;
    int64_t value = 0;
    EXPECT_EQ(Report::ReadInteger(text, value), c.ok);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(text, c.rest);
  }
  EXPECT_EQ(Report::ReadReal(L"1e999", 0), HUGE_VAL);
  EXPECT_EQ(Report::ReadReal(L"-1e-999", 5), 0.0);
}

}  // namespace
