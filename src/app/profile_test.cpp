// The same tables run against the system's profile service on Windows and
// against the portable reader and writer on POSIX.
#include "app/profile.h"

#include <gtest/gtest.h>

#include "app/test_support.h"
#include "app/utils_path.h"

namespace {

using testing_support::ReadBytes;
using testing_support::ScratchDir;
using testing_support::WriteBytes;

struct ReadCase {
  const char* what;
  std::string file;  // the file's bytes; kNoFile for none
  std::wstring section;
  std::wstring key;
  std::wstring fallback;
  size_t capacity;
  std::wstring expected;
};

const std::string kNoFile = "\x01no file";

std::string Utf16Le(const std::wstring& text) {
  std::string out = "\xFF\xFE";
  for (wchar_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>((c >> 8) & 0xFF));
  }
  return out;
}

const ReadCase kReadCases[] = {
    {"plain value", "[Install]\r\nDownloadUrl=https://a.example/x?y=1\r\n", L"Install",
     L"DownloadUrl", L"d", 260, L"https://a.example/x?y=1"},
    {"names ignore case", "[install]\nDOWNLOADURL=x\n", L"INSTALL", L"downloadUrl", L"d", 260,
     L"x"},
    {"blanks around names and value", "  [Install]  \n \t DownloadScale  =  0.25 percent \t\n",
     L"Install", L"DownloadScale", L"d", 260, L"0.25 percent"},
    {"blanks around the asked names", "[Install]\nKey=v\n", L" Install ", L"\tKey ", L"d", 260,
     L"v"},
    {"present empty value is empty", "[Install]\r\nInstCmd=\r\n", L"Install", L"InstCmd",
     L"dflt", 260, L""},
    {"missing key", "[Install]\r\nOther=1\r\n", L"Install", L"InstCmd", L"dflt", 260, L"dflt"},
    {"missing section", "[Setup]\r\nInstCmd=1\r\n", L"Install", L"InstCmd", L"dflt", 260,
     L"dflt"},
    {"no file", kNoFile, L"Install", L"InstCmd", L"dflt", 260, L"dflt"},
    {"empty file", "", L"Install", L"InstCmd", L"dflt", 260, L"dflt"},
    {"key without '=' has no value", "[Install]\nIsCheckNet\n", L"Install", L"IsCheckNet",
     L"true", 260, L"true"},
    {"key of another section", "[Other]\nKey=1\n[Install]\nElse=2\n", L"Install", L"Key", L"d",
     260, L"d"},
    {"section ends at the next header", "[Install]\n[Next]\nKey=1\n", L"Install", L"Key", L"d",
     260, L"d"},
    {"first of two equal keys", "[Install]\nKey=1\nkey=2\n", L"Install", L"Key", L"d", 260,
     L"1"},
    {"value keeps later '='", "[Install]\nKey=a=b\n", L"Install", L"Key", L"d", 260, L"a=b"},
    {"double quotes dropped", "[Install]\nKey=\"a b\"\n", L"Install", L"Key", L"d", 260,
     L"a b"},
    {"single quotes dropped", "[Install]\nKey='x'\n", L"Install", L"Key", L"d", 260, L"x"},
    {"unmatched quotes kept", "[Install]\nKey=\"x'\n", L"Install", L"Key", L"d", 260, L"\"x'"},
    {"comment line is no key", "[Install]\n;Key=1\n", L"Install", L"Key", L"d", 260, L"d"},
    {"lone CR ends lines", "[Install]\rKey=v\rNext=w\r", L"Install", L"Next", L"d", 260, L"w"},
    {"inner blanks kept", "[Install]\nInstCmd= -a  -b \n", L"Install", L"InstCmd", L"d", 260,
     L"-a  -b"},
    {"value cut to capacity - 1", "[Install]\nKey=" + std::string(300, 'v') + "\n", L"Install",
     L"Key", L"d", 260, std::wstring(259, L'v')},
    {"small capacity", "[Install]\nKey=abcdef\n", L"Install", L"Key", L"d", 4, L"abc"},
    {"fallback loses trailing blanks", "", L"Install", L"Key", L"dflt  ", 260, L"dflt"},
    {"fallback cut to capacity - 1", kNoFile, L"Install", L"Key", L"abcdef", 3, L"ab"},
    {"UTF-16 file", Utf16Le(L"[Install]\r\nKey=\x5B89\x88C5\r\n"), L"Install", L"Key", L"d", 260,
     L"\x5B89\x88C5"},
};

TEST(ReadProfileString, FollowsTheProfileRules) {
  ScratchDir dir;
  int n = 0;
  for (const ReadCase& c : kReadCases) {
    SCOPED_TRACE(c.what);
    const std::wstring path = dir.File(L"case" + std::to_wstring(n++) + L".ini");
    if (c.file != kNoFile) WriteBytes(path, c.file);
    EXPECT_EQ(Utils::ReadProfileString(path, c.section, c.key, c.fallback, c.capacity),
              c.expected);
  }
  EXPECT_EQ(Utils::ReadProfileString(L"", L"windows", L"load", L"none"), L"none");
}

TEST(WriteProfileEntry, CreatesTheFileAndReadsBack) {
  ScratchDir dir;
  const std::wstring path = dir.File(L"new.ini");
  ASSERT_TRUE(Utils::WriteProfileEntry(path, L"Install", L"InstallPath", L"D:\\Apps\\Quorvane"));
  EXPECT_EQ(Utils::ReadProfileString(path, L"Install", L"InstallPath", L""), L"D:\\Apps\\Quorvane");
  EXPECT_NE(ReadBytes(path).find("[Install]"), std::string::npos);
}

TEST(WriteProfileEntry, AppendsSectionsAndReplacesKeysLeavingTheRest) {
  ScratchDir dir;
  const std::wstring path = dir.File(L"data.ini");
  WriteBytes(path, "[A]\r\nk=1\r\nm=2\r\n[B]\r\nx=3\r\n");

  ASSERT_TRUE(Utils::WriteProfileEntry(path, L"a", L"K", L"  9"));  // other case, leading blanks
  ASSERT_TRUE(Utils::WriteProfileEntry(path, L"C", L"y", L"4"));
  ASSERT_TRUE(Utils::WriteProfileEntry(path, L"B", L"z", L"5"));

  EXPECT_EQ(Utils::ReadProfileString(path, L"A", L"k", L""), L"9");
  EXPECT_EQ(Utils::ReadProfileString(path, L"A", L"m", L""), L"2");
  EXPECT_EQ(Utils::ReadProfileString(path, L"B", L"x", L""), L"3");
  EXPECT_EQ(Utils::ReadProfileString(path, L"B", L"z", L""), L"5");
  EXPECT_EQ(Utils::ReadProfileString(path, L"C", L"y", L""), L"4");
  // Replaced in place (before "m"), the new section after the old ones.
  const std::string text = ReadBytes(path);
  EXPECT_LT(text.find("=9"), text.find("m=2"));
  EXPECT_LT(text.find("[B]"), text.find("[C]"));
  EXPECT_EQ(text.find("k=1"), std::string::npos);
}

TEST(WriteProfileEntry, RefusesEntriesThatWouldBreakLinesAndMissingFolders) {
  ScratchDir dir;
  const std::wstring path = dir.File(L"data.ini");
  WriteBytes(path, "[A]\r\nk=1\r\n");
  EXPECT_FALSE(Utils::WriteProfileEntry(path, L"A", L"k", L"1\r\n[Evil]\r\nx=2"));
  EXPECT_FALSE(Utils::WriteProfileEntry(path, L"A", L"k=j", L"1"));
  EXPECT_FALSE(Utils::WriteProfileEntry(path, L"A]", L"k", L"1"));
  EXPECT_FALSE(Utils::WriteProfileEntry(path, L"A", L" ", L"1"));
  EXPECT_FALSE(Utils::WriteProfileEntry(path, L"", L"k", L"1"));
  EXPECT_EQ(ReadBytes(path), "[A]\r\nk=1\r\n");
  EXPECT_FALSE(Utils::WriteProfileEntry(Utils::JoinPath(dir.File(L"missing"), L"x.ini"), L"A", L"k", L"1"));
}

// The exact text the writer produces; pure, so the same everywhere.
struct EditCase {
  const char* what;
  std::wstring before;
  std::wstring section, key, value;
  std::wstring after;
};

const EditCase kEditCases[] = {
    {"empty text", L"", L"Install", L"Key", L"v", L"[Install]\r\nKey=v\r\n"},
    {"new section keeps LF breaks", L"[A]\nk=1\n", L"B", L"x", L"2", L"[A]\nk=1\n[B]\nx=2\n"},
    {"last line without break", L"[A]\nk=1", L"B", L"x", L"2", L"[A]\nk=1\n[B]\nx=2\n"},
    {"replaced in place, file's spelling of the name", L"[A]\r\n  K = 1 \r\n; note\r\n",
     L"a", L"k", L"  2", L"[A]\r\nK=2\r\n; note\r\n"},
    {"new key after the section's last line", L"[A]\r\nk=1\r\n\r\n[B]\r\ny=1\r\n", L"A", L"n",
     L"5", L"[A]\r\nk=1\r\nn=5\r\n\r\n[B]\r\ny=1\r\n"},
    {"new key in an empty section", L"[A]\r\n[B]\r\n", L"A", L"n", L"5",
     L"[A]\r\nn=5\r\n[B]\r\n"},
    {"a key without '=' gets its value", L"[A]\nflag\nk=1\n", L"A", L"FLAG", L"on",
     L"[A]\nflag=on\nk=1\n"},
    {"only the first section of a name", L"[A]\nk=1\n[A]\nk=2\n", L"A", L"k", L"3",
     L"[A]\nk=3\n[A]\nk=2\n"},
};

TEST(SetProfileValue, EditsOnlyTheLineItNeeds) {
  for (const EditCase& c : kEditCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Utils::SetProfileValue(c.before, c.section, c.key, c.value), c.after);
  }
}

}  // namespace
