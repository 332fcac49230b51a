#include "env/directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <vector>

#include "env/test_support.h"

namespace {

using Utils::PathKind;

// A file system of a few entries. Paths are kept without trailing separators
// (except roots), as the system answers for "C:\a" and "C:\a\" alike.
class ModelFileSystem {
 public:
  ModelFileSystem(const Utils::PathRules& rules, std::map<std::wstring, PathKind> entries)
      : rules_(rules), entries_(std::move(entries)) {}

  Utils::DirectoryOps Ops() {
    return {[this](const std::wstring& p) {
              auto it = entries_.find(Normal(p));
              return it == entries_.end() ? PathKind::Missing : it->second;
            },
            [this](const std::wstring& p) {
              const std::wstring parent = Parent(Normal(p));
              auto it = entries_.find(parent);
              if (!parent.empty() && (it == entries_.end() || it->second != PathKind::Directory))
                return false;
              if (parent.empty() && IsRoot(Normal(p))) return false;  // no such drive
              created.push_back(p);
              entries_[Normal(p)] = PathKind::Directory;
              return true;
            }};
  }

  std::vector<std::wstring> created;

 private:
  bool IsRoot(const std::wstring& p) const {
    return p == L"/" || (p.size() == 3 && p[1] == L':') || (p.size() == 2 && p[1] == L':');
  }
  std::wstring Normal(std::wstring p) const {
    for (auto& c : p) c = rules_.IsSeparator(c) ? rules_.separator : c;
    while (p.size() > 1 && rules_.IsSeparator(p.back()) && !IsRoot(p)) p.pop_back();
    return p;
  }
  std::wstring Parent(const std::wstring& p) const {
    for (size_t i = p.size(); i-- > 0;) {
      if (rules_.IsSeparator(p[i])) return Normal(p.substr(0, i + 1));
    }
    return {};  // relative to the current directory, which exists
  }

  Utils::PathRules rules_;
  std::map<std::wstring, PathKind> entries_;
};

struct WalkCase {
  const char* name;
  Utils::PathRules rules;
  std::wstring path;
  bool result;
  std::vector<std::wstring> created;
};

TEST(CreateDirectoryChain, WalksPrefixesUnderEachSystemsRules) {
  const std::map<std::wstring, PathKind> windows{{L"C:\\", PathKind::Directory},
                                                 {L"C:\\Apps", PathKind::Directory},
                                                 {L"C:\\file", PathKind::Other},
                                                 {L"\\\\srv\\share", PathKind::Directory}};
  const std::map<std::wstring, PathKind> posix{{L"/", PathKind::Directory},
                                               {L"/srv", PathKind::Directory}};
  const auto W = Utils::kWindowsPathRules;
  const auto P = Utils::kPosixPathRules;
  const std::wstring long259 = L"C:\\" + std::wstring(256, L'x');
  const std::vector<WalkCase> cases = {
      {"nested", W, L"C:\\Apps\\Orin\\Quorvane", true, {L"C:\\Apps\\Orin\\", L"C:\\Apps\\Orin\\Quorvane"}},
      {"trailing separator", W, L"C:\\New\\", true, {L"C:\\New\\"}},
      {"forward slashes", W, L"C:/New/Sub", true, {L"C:/New/", L"C:/New/Sub"}},
      {"existing", W, L"C:\\Apps", true, {}},
      {"missing drive fails at its root", W, L"Q:\\Apps\\Quorvane", false, {}},
      {"file in the way", W, L"C:\\file\\Quorvane", false, {}},
      {"path ends at a file", W, L"C:\\file", false, {}},
      {"empty", W, L"", false, {}},
      {"259 characters", W, long259, true, {long259}},
      {"260 characters", W, long259 + L"y", false, {}},
      {"UNC from the share", W, L"\\\\srv\\share\\Quorvane", true, {L"\\\\srv\\share\\Quorvane"}},
      {"missing share", W, L"\\\\srv\\gone\\Quorvane", false, {}},
      {"relative", W, L"Rel\\Quorvane", true, {L"Rel\\", L"Rel\\Quorvane"}},
      {"posix nested", P, L"/srv/a/b", true, {L"/srv/a/", L"/srv/a/b"}},
      {"posix backslash is a name", P, L"/srv/D:\\Apps", true, {L"/srv/D:\\Apps"}},
  };
  for (const auto& c : cases) {
    ModelFileSystem fs(c.rules, c.rules.backslashSeparates ? windows : posix);
    EXPECT_EQ(Utils::CreateDirectoryChainWith(c.path, c.rules, fs.Ops()), c.result) << c.name;
    EXPECT_EQ(fs.created, c.created) << c.name;
  }
}

TEST(CreateDirectoryChain, CreatesRealFoldersAndRefusesFilesInTheWay) {
  Utils::Testing::TempFolder temp;
  const auto sep = std::wstring(1, Utils::NativePathRules().separator);
  const std::wstring chain = temp.Wide() + sep + L"a" + sep + L"b" + sep + L"Quorvane";
  EXPECT_TRUE(Utils::CreateDirectoryChain(chain));
  EXPECT_TRUE(std::filesystem::is_directory(temp.path() / "a" / "b" / "Quorvane"));
  EXPECT_TRUE(Utils::CreateDirectoryChain(chain)) << "an existing chain is valid";

  Utils::Testing::WriteFile(temp.path() / "file", "x");
  EXPECT_FALSE(Utils::CreateDirectoryChain(temp.Wide(L"file")));
  EXPECT_FALSE(Utils::CreateDirectoryChain(temp.Wide(L"file") + sep + L"Quorvane"));
  EXPECT_EQ(Utils::Testing::ReadFile(temp.path() / "file"), "x");
}

}  // namespace
