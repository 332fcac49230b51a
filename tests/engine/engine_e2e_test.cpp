// The install engine end to end: the real process layer with the fake setup
// package and uninstaller, the platform's real downloader against the local
// download service, and the install task chaining them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/config.h"
#include "app/probe.h"
#include "app/utils_path.h"
#include "app/utils_text.h"
#include "engine/child_process.h"
#include "engine/downloader.h"
#include "engine/install_task.h"
#include "engine/package_installer.h"
#include "engine/uninstaller.h"
#include "engine_test_paths.h"

namespace fs = std::filesystem;

namespace {

// ---------------------------------------------------------------- helpers

std::wstring Wide(const std::string& text) { return Utils::ToWide(text, Utils::kCodePageUtf8); }
std::string Narrow(const std::wstring& text) { return Utils::ToNarrow(text, Utils::kCodePageUtf8); }

// A path of the build tree as this program sees it: Windows programs under
// Wine reach the host's root as drive Z:.
std::wstring BuildPath(const char* hostPath) {
  std::wstring path = Wide(hostPath);
  if (Utils::PathSeparator() == L'\\' && !path.empty() && path[0] == L'/') {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    path = L"Z:" + path;
  }
  return path;
}

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(fs::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  std::ofstream(fs::path(path), std::ios::binary) << bytes;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
    lines.push_back(text.substr(start, nl - start));
  return lines;
}

// A scratch folder removed afterwards.
class Scratch {
 public:
  Scratch() {
    static int serial = 0;
    path_ = fs::temp_directory_path() /
            ("qv-engine-" +
             std::to_string(std::chrono::system_clock::now().time_since_epoch().count()) + "-" +
             std::to_string(++serial));
    fs::create_directories(path_);
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  std::wstring Path(const std::wstring& name = L"") const {
    return name.empty() ? path_.wstring() : (path_ / name).wstring();
  }
  std::wstring Dir(const std::wstring& name) const {
    fs::create_directories(path_ / name);
    return Path(name);
  }

 private:
  fs::path path_;
};

// Points the temporary directory, and with it the working folder, elsewhere.
class ScopedTemp {
 public:
  explicit ScopedTemp(const std::wstring& dir) {
    for (const char* name : {"TMPDIR", "TMP", "TEMP"}) {
      const char* old = std::getenv(name);
      saved_.push_back({name, old ? old : "", old != nullptr});
      Set(name, Narrow(dir));
    }
  }
  ~ScopedTemp() {
    for (const auto& s : saved_) {
      if (s.present) Set(s.name, s.value);
      else Unset(s.name);
    }
  }

 private:
  struct Saved {
    const char* name;
    std::string value;
    bool present;
  };
  static void Set(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
  }
  static void Unset(const char* name) {
#ifdef _WIN32
    _putenv_s(name, "");
#else
    unsetenv(name);
#endif
  }
  std::vector<Saved> saved_;
};

struct Event {
  int32_t code;
  double value;
  std::wstring text;
  bool operator==(const Event& o) const {
    return code == o.code && value == o.value && text == o.text;
  }
};

void PrintTo(const Event& e, std::ostream* os) {
  *os << "{" << e.code << ", " << e.value << ", \"" << Narrow(e.text) << "\"}";
}

// Records events from any thread; `onEvent` runs inside the callback, before
// the engine acts on the event.
class Recorder {
 public:
  ProgressCallback Callback(std::function<void(const Event&)> onEvent = {}) {
    return [this, onEvent](int32_t code, double value, const wchar_t* text) {
      EXPECT_NE(text, nullptr);
      const Event e{code, value, text};
      if (onEvent) onEvent(e);
      std::lock_guard<std::mutex> lock(mutex_);
      events_.push_back(e);
      changed_.notify_all();
    };
  }
  // Waits (as a guard against a hang, not as a measure) until an event with
  // one of `codes` has come.
  bool WaitForAny(std::initializer_list<int32_t> codes) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::minutes(3), [&] {
      for (const auto& e : events_)
        if (std::find(codes.begin(), codes.end(), e.code) != codes.end()) return true;
      return false;
    });
  }
  std::vector<Event> Events() {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
  }
  // The codes in order, progress events (1002) left out.
  std::vector<int32_t> Codes() {
    std::vector<int32_t> codes;
    for (const auto& e : Events())
      if (e.code != 1002) codes.push_back(e.code);
    return codes;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Event> events_;
};

int HttpPort() {
  const std::wstring file = BuildPath(QV_HTTP_PORT_FILE);
  for (int i = 0; i < 500; ++i) {
    const std::string text = ReadFile(file);
    if (!text.empty()) return std::atoi(text.c_str());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ADD_FAILURE() << "the download service did not start";
  return 0;
}

std::wstring Url(const std::string& path) {
  static const int port = HttpPort();
  return Wide("http://127.0.0.1:" + std::to_string(port) + path);
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

const std::wstring kFakePackage = BuildPath(QV_FAKE_PACKAGE);
const std::wstring kFakeUninstaller = BuildPath(QV_FAKE_UNINSTALLER);
const std::string kDownloadRoute = "/openapi/download?ch=10009&app=50003";
// Nothing listens there: a download that fails with every service.
const std::wstring kUnreachable = L"http://127.0.0.1:1/openapi/download";

void SetScenario(const std::string& scenario) {
  InstallerConfig::Instance().InstCmd(scenario.empty() ? L"" : Wide("-scenario=" + scenario));
}

// ---------------------------------------------------------------- child process

std::wstring FakeCommand(const std::string& scenario) {
  return Quoted(kFakePackage) + Wide(" -scenario=" + scenario);
}

TEST(ChildProcess, ReadsLargeOutputInChunksToItsEnd) {
  Utils::ChildProcess child(FakeCommand("big"), Utils::kStartUseStdHandles | 1, 0);
  size_t total = 0, chunks = 0, largest = 0;
  std::string tail;
  Utils::FollowOutput(child, [&](std::string_view chunk) {
    total += chunk.size();
    ++chunks;
    largest = std::max(largest, chunk.size());
    tail = (tail + std::string(chunk)).substr(tail.size() + chunk.size() > 64 ? tail.size() + chunk.size() - 64 : 0);
  });
  child.WaitForExit();
  EXPECT_TRUE(child.HasExited());
  EXPECT_GT(total, 20u * 1024 * 1024);
  EXPECT_LE(largest, Utils::ChildProcess::kChunkSize);
  EXPECT_GE(chunks, total / Utils::ChildProcess::kChunkSize);
  EXPECT_EQ(tail.substr(tail.size() - 14), "State=Success\n");
}

TEST(ChildProcess, EndsWithoutAChunkWhenTheChildWritesNothing) {
  for (const char* scenario : {"silent", "exit259"}) {
    SCOPED_TRACE(scenario);
    Utils::ChildProcess child(FakeCommand(scenario), Utils::kStartUseStdHandles | 1, 0);
    int chunks = 0;
    Utils::FollowOutput(child, [&](std::string_view) { ++chunks; });
    child.WaitForExit();
    EXPECT_EQ(chunks, 0);
    EXPECT_TRUE(child.HasExited());
  }
}

TEST(ChildProcess, AChildFloodingStandardErrorDoesNotBlock) {
  Utils::ChildProcess child(FakeCommand("stderr"), Utils::kStartUseStdHandles | 1, 0);
  std::string output;
  Utils::FollowOutput(child, [&](std::string_view chunk) { output.append(chunk); });
  child.WaitForExit();
  EXPECT_EQ(output, "State=Success\n");
}

TEST(ChildProcess, RefusesWhatItCannotStart) {
  Scratch scratch;
  // 1023 characters fit; 1024 do not and are refused, never cut.
  const std::wstring base = FakeCommand("silent") + L" -pad=";
  const std::wstring fits = base + std::wstring(1023 - base.size(), L'x');
  EXPECT_NO_THROW({
    Utils::ChildProcess child(fits, Utils::kStartUseStdHandles | 1, 0);
    child.WaitForExit();
  });
  EXPECT_THROW(Utils::ChildProcess(fits + L"x", Utils::kStartUseStdHandles | 1, 0),
               std::exception);
  EXPECT_THROW(Utils::ChildProcess(Quoted(scratch.Path(L"missing.exe")), Utils::kStartUseStdHandles | 1, 0),
               std::exception);
  // A program path with blanks starts when quoted.
  const std::wstring spaced = scratch.Dir(L"with blank") + Utils::PathSeparator() + L"fake.exe";
  fs::copy_file(fs::path(kFakePackage), fs::path(spaced));
  Utils::ChildProcess child(Quoted(spaced) + L" -scenario=fail", Utils::kStartUseStdHandles | 1, 0);
  std::string output;
  Utils::FollowOutput(child, [&](std::string_view chunk) { output.append(chunk); });
  child.WaitForExit();
  EXPECT_EQ(output, "Progress=0.5\nState=Fail\n");
}

// ---------------------------------------------------------------- package runner

struct PackageRun {
  std::vector<Event> events;
  std::vector<std::string> received;  // the command line the package recorded
};

PackageRun RunPackage(const std::string& scenario, const std::wstring& installDir,
                      const std::wstring& packageName = L"package_Quorvane.exe") {
  Scratch scratch;
  const std::wstring package = scratch.Path(packageName);
  fs::copy_file(fs::path(kFakePackage), fs::path(package));
  SetScenario(scenario);
  Recorder recorder;
  PackageRun run{};
  {
    CPackageInstaller runner(recorder.Callback(), Quoted(package), L"", false, false, false, false);
    runner.SetInstallDir(installDir);
    runner.SetDsc(true);
    runner.SetSsc(false);
    runner.SetAdminAct(true);
    runner.SetAuthorizationAct(false);
    EXPECT_TRUE(runner.Start());
  }  // waits for the run
  run.events = recorder.Events();
  run.received = Lines(ReadFile(scratch.Path(L"package_cmdline.txt")));
  SetScenario("");
  return run;
}

TEST(PackageRunner, EachScenarioRaisesItsEvents) {
  const std::wstring fail = L"安装包安装失败";
  auto full = [](const std::wstring& nl) {
    const std::wstring dir = L"C:\\Program Files\\Quorvane";
    return std::vector<Event>{
        {2002, 0.25, L""},
        {3000, 0, dir + nl},
        {3001, 0, dir + L"\\Quorvex.exe" + nl},
        {3001, 0, dir + L"\\Start.exe" + nl},
        {3002, 0, dir + L"\\uninst.exe" + nl},
        {3002, 0, dir + L"\\uninst2.exe" + nl},
        {3003, 0, dir + L"\\uninstall.exe" + nl},
        {3007, 1500, L""},
        {3008, 4294967295.0, L""},
        {3004, 0, L"https://example.invalid/welcome" + nl},
        {3005, 1, L""},
        {3009, 0, L"done" + nl},
        {2002, 1, L""},
        {2003, 0, L""},
    };
  };
  struct Case {
    std::string scenario;
    std::vector<Event> report;  // after 2001 (0) and 2002 (0)
  };
  const std::vector<Case> cases = {
      {"success", full(L"")},
      {"crlf", full(L"\r")},
      {"utf8", {{3009, 0, L"安装完成"}, {2003, 0, L""}}},
      {"cp936", {{3009, 0, L"安装完成"}, {2003, 0, L""}}},
      {"error", {{2002, 0.5, L""}, {2004, 1000, L"disk full"}, {2004, 0, fail}}},
      {"fail", {{2002, 0.5, L""}, {2004, 0, fail}}},
      {"crash", {{2002, 0.5, L""}, {2003, 1, L""}}},
      {"silent", {{2003, 1, L""}}},
      {"exit259", {{2003, 1, L""}}},
      {"hang", {{2002, 0.5, L""}, {2002, 1, L""}, {2003, 0, L""}}},
      {"cut", {{2002, 0.5, L""}, {3000, 0, L"C:\\Quorvane"}, {3009, 0, L"安装"}, {2003, 0, L""}}},
      {"after", {{2003, 0, L""}, {2002, 0.9, L""}}},
      {"stderr", {{2003, 0, L""}}},
  };
  Scratch dirs;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scenario);
    const PackageRun run = RunPackage(c.scenario, dirs.Path(L"Quorvane"));
    std::vector<Event> expected = {{2001, 0, L""}, {2002, 0, L""}};
    expected.insert(expected.end(), c.report.begin(), c.report.end());
    EXPECT_EQ(run.events, expected);
  }
}

TEST(PackageRunner, TwentyMebibytesOfReportEndInOneSuccess) {
  Scratch dirs;
  const PackageRun run = RunPackage("big", dirs.Path(L"Q"));
  size_t progress = 0, messages = 0;
  for (const auto& e : run.events) {
    if (e.code == 2002 && e.value == 0.5) ++progress;
    if (e.code == 3009) ++messages;
  }
  EXPECT_GT(progress, 200000u);
  EXPECT_EQ(progress, messages);
  ASSERT_FALSE(run.events.empty());
  EXPECT_EQ(run.events.back(), (Event{2003, 0, L""}));
}

TEST(PackageRunner, ThePackageReceivesEveryPieceOfItsCommandLine) {
  Scratch dirs;
  const std::wstring dir = dirs.Path(L"My Apps") + Utils::PathSeparator() + L"Quorvane";
  const PackageRun run = RunPackage("success", dir);
  // The directory reaches the package twice: quoted whole, and bare (so
  // split at its blank) after "/D=", last.
  const size_t blank = Narrow(dir).find(' ');
  std::vector<std::string> expected = {"/S", "-console=show", "-version=1.0.0.0",
                                       "-adminact=true", "-authorizationact=false", "-dsc=true",
                                       "-ssc=false", "-scenario=success", "-instdir=" + Narrow(dir),
                                       "/D=" + Narrow(dir).substr(0, blank),
                                       Narrow(dir).substr(blank + 1)};
  std::vector<std::string> received = run.received;
  ASSERT_GE(received.size(), 2u);
  if (received[0].compare(0, 4, "raw:") == 0) {
    // Windows passes the line exactly as built.
    const std::wstring package = fs::path(run.received[1]).wstring();
    EXPECT_EQ(received[0].substr(4),
              Narrow(CPackageInstaller::ComposeCommandLine(Quoted(package), dir, true, false,
                                                           true, false, L"-scenario=success")));
    received.erase(received.begin());
  }
  received.erase(received.begin());  // the program
  EXPECT_EQ(received, expected);
}

TEST(PackageRunner, WhatCannotStartEndsWithOneFailure) {
  Scratch scratch;
  struct Case {
    std::wstring packagePath;
    std::vector<Event> events;
  };
  const std::vector<Case> cases = {
      {L"", {{2001, 0, L""}, {2004, 1, L""}}},
      {Quoted(scratch.Path(L"missing.exe")), {{2001, 0, L""}, {2002, 0, L""}, {2004, 2, L""}}},
      {Quoted(kFakePackage) + L" " + std::wstring(1100, L'x'),
       {{2001, 0, L""}, {2002, 0, L""}, {2004, 2, L""}}},
  };
  for (const auto& c : cases) {
    Recorder recorder;
    {
      CPackageInstaller runner(recorder.Callback(), c.packagePath, L"", true, true, true, true);
      EXPECT_TRUE(runner.Start());
    }
    EXPECT_EQ(recorder.Events(), c.events);
  }
}

TEST(PackageRunner, ASecondStartRunsAgainWithTheNewSettings) {
  Scratch scratch;
  const std::wstring package = scratch.Path(L"package_Quorvane.exe");
  fs::copy_file(fs::path(kFakePackage), fs::path(package));
  SetScenario("silent");
  Recorder recorder;
  auto runner = std::make_unique<CPackageInstaller>(recorder.Callback(), Quoted(package), L"",
                                                    true, true, true, true);
  EXPECT_TRUE(runner->Start());
  ASSERT_TRUE(recorder.WaitForAny({2003}));
  EXPECT_EQ(runner->CommandLine().find(L"/D="), std::wstring::npos);
  runner->SetInstallDir(scratch.Path(L"Second"));
  EXPECT_TRUE(runner->Start());  // waits for the first worker to end
  EXPECT_NE(runner->CommandLine().find(L"/D="), std::wstring::npos);
  runner.reset();  // waits for the second run
  SetScenario("");
  EXPECT_EQ(recorder.Codes(), (std::vector<int32_t>{2001, 2002, 2003, 2001, 2002, 2003}));
}

// ---------------------------------------------------------------- uninstaller

struct UninstallRun {
  std::vector<Event> events;
  std::vector<std::string> received;
};

UninstallRun RunUninstaller(const std::string& scenario, bool copyExists = true) {
  Scratch scratch;
  const std::wstring copy = scratch.Path(L"Quorvane_uninstall.exe");
  if (copyExists) fs::copy_file(fs::path(kFakeUninstaller), fs::path(copy));
  const std::wstring earlier = scratch.Dir(L"Earlier");
  WriteFile(earlier + Utils::PathSeparator() + L"uninstall_scenario.txt", scenario);
  Recorder recorder;
  {
    CUninstaller remover(recorder.Callback(), copy, earlier);
    EXPECT_TRUE(remover.Start());
  }
  return {recorder.Events(),
          Lines(ReadFile(earlier + Utils::PathSeparator() + L"uninstaller_cmdline.txt"))};
}

TEST(UninstallerRunner, EachScenarioRaisesItsEvents) {
  struct Case {
    std::string scenario;
    std::vector<Event> events;
  };
  const std::vector<Case> cases = {
      // Lines after the final one still count: the uninstaller is read to its end.
      {"success", {{5002, 0, L""}, {5002, 0.5, L""}, {5003, 0, L""}, {5002, 1, L""}}},
      {"error", {{5002, 0, L""}, {5002, 0.5, L""}, {5004, 0, L"locked"}}},
      {"fail", {{5002, 0, L""}, {5004, 0, L"安装包卸载失败"}}},
      {"utf8", {{5002, 0, L""}, {5004, 0, L"安装"}}},
      {"silent", {{5002, 0, L""}, {5003, 1, L""}}},
      {"crash", {{5002, 0, L""}, {5002, 0.3, L""}, {5003, 1, L""}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scenario);
    EXPECT_EQ(RunUninstaller(c.scenario).events, c.events);
  }
}

TEST(UninstallerRunner, AMissingCopyStartsNothing) {
  const UninstallRun run = RunUninstaller("success", false);
  EXPECT_EQ(run.events, (std::vector<Event>{{5004, 1, L"可执行卸载文件不存在"}}));
  EXPECT_TRUE(run.received.empty());
}

TEST(UninstallerRunner, TheUninstallerReceivesItsCommandLine) {
  const UninstallRun run = RunUninstaller("silent");
  std::vector<std::string> received = run.received;
  ASSERT_GE(received.size(), 6u);
  if (received[0].compare(0, 4, "raw:") == 0) received.erase(received.begin());
  const auto flag = [](bool b) { return std::string(b ? "true" : "false"); };
  EXPECT_EQ(received[1], "/S");
  EXPECT_EQ(received[2], "-adminact=" + flag(Utils::ConsoleUserIsAdmin()));
  EXPECT_EQ(received[3], "-authorizationact=" + flag(Utils::IsProcessAdmin()));
  EXPECT_EQ(received[4], "-console=show");
  EXPECT_EQ(received[5].substr(0, 3), "_?=");
  EXPECT_EQ(received.size(), 6u);
}

// ---------------------------------------------------------------- downloader

struct DownloadRun {
  std::vector<Event> events;
  int pauses = 0;
  std::string file;
  bool fileExists = false;
};

DownloadRun Download(const std::wstring& url, const std::wstring& dest) {
  DownloadRun run;
  Recorder recorder;
  {
    auto downloader = CreateDownloader(recorder.Callback(), url, dest, [&](unsigned ms) {
      EXPECT_EQ(ms, 1000u);
      ++run.pauses;
    });
    EXPECT_TRUE(downloader->Start());
    EXPECT_TRUE(recorder.WaitForAny({1003, 1004}));
  }
  run.events = recorder.Events();
  run.fileExists = !dest.empty() && fs::exists(fs::path(dest));
  if (run.fileExists) run.file = ReadFile(dest);
  return run;
}

// Every run: 1001 first, fractions between 0 and 1, exactly one terminal
// event, last.
void ExpectWellFormed(const std::vector<Event>& events) {
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events.front(), (Event{1001, 1, L""}));
  for (size_t i = 1; i + 1 < events.size(); ++i) {
    EXPECT_EQ(events[i].code, 1002);
    EXPECT_GE(events[i].value, 0.0);
    EXPECT_LE(events[i].value, 1.0);
  }
  EXPECT_TRUE(events.back().code == 1003 || events.back().code == 1004);
}

// On Windows the download is the system's URL download service, which
// decides itself what an HTTP error status or a cut body means; Wine's saves
// the error page or the cut body and answers success, and waits without end on
// a connection reset in mid-body. There only the form of the events binds.
const bool kSystemDownloadService = Utils::PathSeparator() == L'\\';

TEST(Downloader, FetchesThePackageOrFailsAfterThreeAttempts) {
  const std::string package = ReadFile(kFakePackage);
  struct Case {
    std::string path;
    bool ok;
    bool serviceDecides;
  };
  const Case cases[] = {
      {kDownloadRoute, true, false},
      {"/download_silent/1.0/package.exe", true, false},
      {"/fault/redirect", true, false},
      {"/fault/slow", true, false},
      {"/fault/404", false, true},
      {"/fault/500", false, true},
      {"/fault/truncate", false, true},
      {"/fault/reset", false, true},
  };
  Scratch scratch;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    if (c.path == "/fault/reset" && kSystemDownloadService) continue;
    const std::wstring dest = scratch.Path(L"package_Quorvane.exe");
    fs::remove(fs::path(dest));
    const DownloadRun run = Download(Url(c.path), dest);
    ExpectWellFormed(run.events);
    if (c.serviceDecides && kSystemDownloadService) continue;
    if (c.ok) {
      EXPECT_EQ(run.pauses, 0);
      EXPECT_EQ(run.events.back(), (Event{1003, 0, L"URLDownloadToFile"}));
      EXPECT_TRUE(run.file == package);
      ASSERT_GE(run.events.size(), 3u);
      EXPECT_EQ(run.events[run.events.size() - 2].value, 1.0);
    } else {
      EXPECT_EQ(run.pauses, 3);
      EXPECT_EQ(run.events.back().code, 1004);
      EXPECT_NE(run.events.back().value, 0.0);
      EXPECT_EQ(run.events.back().text, L"URLDownloadToFile");
    }
  }
}

TEST(Downloader, AFirstFailureIsRetriedAfterOnePause) {
  // The first attempt cannot write its file, a failure with every download
  // service; the pause makes the folder, so the second attempt succeeds.
  Scratch scratch;
  const std::wstring folder = scratch.Path(L"later");
  const std::wstring dest = folder + Utils::PathSeparator() + L"package_Quorvane.exe";
  DownloadRun run;
  Recorder recorder;
  {
    auto downloader = CreateDownloader(recorder.Callback(), Url(kDownloadRoute), dest,
                                       [&](unsigned ms) {
                                         EXPECT_EQ(ms, 1000u);
                                         ++run.pauses;
                                         fs::create_directories(fs::path(folder));
                                       });
    EXPECT_TRUE(downloader->Start());
    ASSERT_TRUE(recorder.WaitForAny({1003, 1004}));
  }
  const auto events = recorder.Events();
  ExpectWellFormed(events);
  EXPECT_EQ(events.back(), (Event{1003, 0, L"URLDownloadToFile"}));
  EXPECT_EQ(run.pauses, 1);
  EXPECT_TRUE(ReadFile(dest) == ReadFile(kFakePackage));
}

TEST(Downloader, SendsTheEscapedAddress) {
  Scratch scratch;
  const DownloadRun run =
      Download(Url("/echo/a b/") + L"安" + L"?q=%20x&ch=10009", scratch.Path(L"echo.txt"));
  EXPECT_EQ(run.events.back().code, 1003);
  EXPECT_EQ(run.file, "/echo/a+b/%E5%AE%89?q=%20x&ch=10009");
}

TEST(Downloader, AnEmptyDestinationOrAnUnreachableServiceFails) {
  DownloadRun run = Download(Url(kDownloadRoute), L"");
  EXPECT_EQ(run.events, (std::vector<Event>{{1001, 1, L""}, {1004, 1, L""}}));
  EXPECT_EQ(run.pauses, 0);
  Scratch scratch;
  run = Download(kUnreachable, scratch.Path(L"p.exe"));
  ExpectWellFormed(run.events);
  EXPECT_EQ(run.events.back().code, 1004);
  EXPECT_EQ(run.pauses, 3);
}

TEST(Downloader, RunsOnceAndANeverStartedOneIsDiscarded) {
  Scratch scratch;
  Recorder recorder;
  {
    auto never = CreateDownloader(recorder.Callback(), Url(kDownloadRoute), scratch.Path(L"n.exe"));
  }
  EXPECT_TRUE(recorder.Events().empty());
  {
    auto downloader =
        CreateDownloader(recorder.Callback(), Url(kDownloadRoute), scratch.Path(L"p.exe"));
    EXPECT_TRUE(downloader->Start());
    ASSERT_TRUE(recorder.WaitForAny({1003, 1004}));
    downloader->Start();
  }
  EXPECT_EQ(recorder.Codes(), (std::vector<int32_t>{1001, 1003}));
}

TEST(Downloader, DestroyingARunningDownloadStopsIt) {
  Scratch scratch;
  Recorder recorder;
  std::mutex m;
  std::condition_variable cv;
  bool progressed = false;
  {
    auto downloader = CreateDownloader(
        recorder.Callback([&](const Event& e) {
          if (e.code != 1002) return;
          std::lock_guard<std::mutex> lock(m);
          progressed = true;
          cv.notify_all();
        }),
        Url("/fault/slow"), scratch.Path(L"p.exe"), [](unsigned) {});
    EXPECT_TRUE(downloader->Start());
    std::unique_lock<std::mutex> lock(m);
    ASSERT_TRUE(cv.wait_for(lock, std::chrono::minutes(1), [&] { return progressed; }));
  }
  const auto events = recorder.Events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().code, 1004);
}

// ---------------------------------------------------------------- install task

// Builds a task the way the window does, with downloads that do not pause
// between attempts.
std::unique_ptr<InstallTask> MakeTask(Recorder& recorder,
                                      std::function<void(const Event&)> onEvent = {}) {
  auto task = std::make_unique<InstallTask>(recorder.Callback(std::move(onEvent)), L"", L"", L"",
                                            true, true, true);
  task->SetDownloaderFactory([](ProgressCallback cb, std::wstring url, std::wstring dest) {
    return CreateDownloader(std::move(cb), std::move(url), std::move(dest), [](unsigned) {});
  });
  return task;
}

class InstallTaskTest : public ::testing::Test {
 protected:
  Scratch scratch_;
  ScopedTemp temp_{scratch_.Dir(L"temp")};
  Recorder recorder_;
  ~InstallTaskTest() override { SetScenario(""); }
};

TEST_F(InstallTaskTest, DownloadsRunsAndRemovesThePackage) {
  SetScenario("success");
  const std::wstring dir = scratch_.Path(L"new dir") + Utils::PathSeparator() + L"Quorvane";
  std::wstring packagePath;
  bool dirMissingAt1001 = false, packagePresentAt2003 = false;
  auto task = MakeTask(recorder_, [&](const Event& e) {
    if (e.code == 1001) dirMissingAt1001 = !fs::exists(fs::path(dir));
    if (e.code == 2003) packagePresentAt2003 = fs::exists(fs::path(packagePath));
  });
  task->Configure(Url(kDownloadRoute), L"", dir, true, true, false, false);
  packagePath = task->PackagePath();
  EXPECT_EQ(packagePath, dir + Utils::PathSeparator() + L"package_Quorvane.exe");
  task->Start();
  ASSERT_TRUE(recorder_.WaitForAny({1004, 2003, 2004}));
  task.reset();

  EXPECT_EQ(recorder_.Codes(), (std::vector<int32_t>{1001, 1003, 2001, 2002, 2002, 3000, 3001,
                                                     3001, 3002, 3002, 3003, 3007, 3008, 3004,
                                                     3005, 3009, 2002, 2003}));
  // Each event reached the window before the task acted on it.
  EXPECT_TRUE(dirMissingAt1001);
  EXPECT_TRUE(packagePresentAt2003);
  EXPECT_FALSE(fs::exists(fs::path(packagePath)));
  const std::string received = ReadFile(dir + Utils::PathSeparator() + L"package_cmdline.txt");
  EXPECT_NE(received.find("-dsc=true\n-ssc=true\n-scenario=success\n"), std::string::npos);
  EXPECT_NE(received.find("/D=" + Narrow(scratch_.Path(L"new"))), std::string::npos);
}

TEST_F(InstallTaskTest, EveryEndLeavesNoPackageFile) {
  struct Case {
    std::string scenario;
    std::string route;
    int32_t terminal;
    double value;
  };
  const Case cases[] = {
      {"error", kDownloadRoute, 2004, 0},  // "Error=" then "State=Fail": the last one
      {"fail", kDownloadRoute, 2004, 0},
      {"crash", kDownloadRoute, 2003, 1},
      {"success", "", 1004, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scenario + " " + c.route);
    SetScenario(c.scenario);
    Recorder recorder;
    auto task = MakeTask(recorder);
    const std::wstring dir = scratch_.Dir(Wide(c.scenario + std::to_string(c.terminal)));
    task->Configure(c.route.empty() ? kUnreachable : Url(c.route), L"", dir, true, true, true, true);
    task->Start();
    ASSERT_TRUE(recorder.WaitForAny({1004, 2003, 2004}));
    task.reset();
    const auto events = recorder.Events();
    EXPECT_EQ(events.back().code, c.terminal);
    if (c.value >= 0) {
      EXPECT_EQ(events.back().value, c.value);
    }
    EXPECT_FALSE(fs::exists(fs::path(dir) / "package_Quorvane.exe"));
  }
}

TEST_F(InstallTaskTest, ASecondStartDownloadsIntoTheNewDirectoryAndRunsFromThere) {
  SetScenario("silent");
  auto task = MakeTask(recorder_);
  const std::wstring first = scratch_.Path(L"First");
  const std::wstring second = scratch_.Path(L"Second");
  task->Configure(kUnreachable, L"", first, true, true, true, true);
  task->Start();
  ASSERT_TRUE(recorder_.WaitForAny({1004}));
  task->Configure(Url(kDownloadRoute), L"", second, true, true, true, true);
  EXPECT_EQ(task->PackagePath(), second + Utils::PathSeparator() + L"package_Quorvane.exe");
  task->Start();
  ASSERT_TRUE(recorder_.WaitForAny({2003, 2004}));
  task.reset();
  EXPECT_EQ(recorder_.Codes(), (std::vector<int32_t>{1001, 1004, 1001, 1003, 2001, 2002, 2003}));
  EXPECT_FALSE(fs::exists(fs::path(first) / "package_cmdline.txt"));
  EXPECT_TRUE(fs::exists(fs::path(second) / "package_cmdline.txt"));
  EXPECT_FALSE(fs::exists(fs::path(first) / "package_Quorvane.exe"));
  EXPECT_FALSE(fs::exists(fs::path(second) / "package_Quorvane.exe"));
}

TEST_F(InstallTaskTest, DestroyingTheTaskMidDownloadEndsTheAttempt) {
  std::mutex m;
  std::condition_variable cv;
  bool progressed = false;
  auto task = MakeTask(recorder_, [&](const Event& e) {
    if (e.code != 1002) return;
    std::lock_guard<std::mutex> lock(m);
    progressed = true;
    cv.notify_all();
  });
  const std::wstring dir = scratch_.Path(L"Quorvane");
  task->Configure(Url("/fault/slow"), L"", dir, true, true, true, true);
  task->Start();
  {
    std::unique_lock<std::mutex> lock(m);
    ASSERT_TRUE(cv.wait_for(lock, std::chrono::minutes(1), [&] { return progressed; }));
  }
  task.reset();  // must not wait for the whole download
  const auto codes = recorder_.Codes();
  EXPECT_EQ(codes, (std::vector<int32_t>{1001, 1004}));
  EXPECT_FALSE(fs::exists(fs::path(dir) / "package_Quorvane.exe"));
}

// An earlier installation with the fake uninstaller as its uninstaller.
std::wstring EarlierInstallation(const Scratch& scratch, const std::string& scenario) {
  const std::wstring dir = scratch.Dir(L"Earlier");
  const std::wstring uninstaller = dir + Utils::PathSeparator() + L"uninst.exe";
  fs::copy_file(fs::path(kFakeUninstaller), fs::path(uninstaller),
                fs::copy_options::overwrite_existing);
  WriteFile(dir + Utils::PathSeparator() + L"uninstall_scenario.txt", scenario);
  return uninstaller;
}

TEST_F(InstallTaskTest, RemovesTheEarlierInstallationThenDownloads) {
  SetScenario("silent");
  const std::wstring uninstaller = EarlierInstallation(scratch_, "success");
  auto task = MakeTask(recorder_);
  const std::wstring dir = scratch_.Path(L"Quorvane");
  task->Configure(Url(kDownloadRoute), uninstaller, dir, true, true, true, true);
  task->Start();
  ASSERT_TRUE(recorder_.WaitForAny({1004, 2003, 2004, 5004}));
  task.reset();

  std::vector<int32_t> removal, rest;
  for (int32_t code : recorder_.Codes()) (code >= 5000 ? removal : rest).push_back(code);
  EXPECT_EQ(removal, (std::vector<int32_t>{5002, 5002, 5003, 5002}));
  EXPECT_EQ(rest, (std::vector<int32_t>{1001, 1003, 2001, 2002, 2003}));
  // The download started only after 5003 had reached the window.
  const auto codes = recorder_.Codes();
  EXPECT_LT(std::find(codes.begin(), codes.end(), 5003) - codes.begin(),
            std::find(codes.begin(), codes.end(), 1001) - codes.begin());
  // The copy ran from the working folder, told the earlier directory.
  const std::wstring workingCopy = Utils::GetWorkingTempFolder() + L"Quorvane_uninstall.exe";
  EXPECT_TRUE(fs::exists(fs::path(workingCopy)));
  const std::vector<std::string> received = Lines(ReadFile(
      Utils::RemoveLastComponent(uninstaller) + Utils::PathSeparator() + L"uninstaller_cmdline.txt"));
  ASSERT_FALSE(received.empty());
  EXPECT_EQ(received.back(), "_?=" + Narrow(Utils::RemoveLastComponent(uninstaller)));
  EXPECT_FALSE(fs::exists(fs::path(dir) / "package_Quorvane.exe"));
}

TEST_F(InstallTaskTest, AFailedRemovalEndsTheAttempt) {
  const std::wstring uninstaller = EarlierInstallation(scratch_, "error");
  auto task = MakeTask(recorder_);
  const std::wstring dir = scratch_.Path(L"Quorvane");
  task->Configure(Url(kDownloadRoute), uninstaller, dir, true, true, true, true);
  task->Start();
  ASSERT_TRUE(recorder_.WaitForAny({5004}));
  task.reset();
  EXPECT_EQ(recorder_.Codes(), (std::vector<int32_t>{5002, 5002, 5004}));
  EXPECT_FALSE(fs::exists(fs::path(dir)));
}

TEST_F(InstallTaskTest, AMissingUninstallerIsLikeNoEarlierInstallation) {
  SetScenario("silent");
  auto task = MakeTask(recorder_);
  task->Configure(Url(kDownloadRoute), scratch_.Path(L"gone") + Utils::PathSeparator() + L"uninst.exe",
                  scratch_.Path(L"Quorvane"), true, true, true, true);
  task->Start();
  ASSERT_TRUE(recorder_.WaitForAny({1004, 2003, 2004}));
  task.reset();
  EXPECT_EQ(recorder_.Codes(), (std::vector<int32_t>{1001, 1003, 2001, 2002, 2003}));
}

TEST_F(InstallTaskTest, NoWorkingFolderMeansNoUninstallerCopy) {
  const std::wstring uninstaller = EarlierInstallation(scratch_, "success");
  // A temporary directory under a file: the working folder cannot be made.
  const std::wstring blocker = scratch_.Path(L"blocker");
  WriteFile(blocker, "x");
  ScopedTemp temp(blocker + Utils::PathSeparator() + L"sub");
  auto task = MakeTask(recorder_);
  task->Configure(Url(kDownloadRoute), uninstaller, scratch_.Path(L"Q"), true, true, true, true);
  task->Start();
  ASSERT_TRUE(recorder_.WaitForAny({5004}));
  task.reset();
  EXPECT_EQ(recorder_.Events(), (std::vector<Event>{{5004, 1, L"可执行卸载文件不存在"}}));
}

TEST(InstallTaskPaths, DerivedPaths) {
  EXPECT_EQ(InstallTask::UninstallerCopyPath(L""), L"");
  const std::wstring sep(1, Utils::PathSeparator());
  EXPECT_EQ(InstallTask::UninstallerCopyPath(L"T" + sep + L"~OrinTemp" + sep),
            L"T" + sep + L"~OrinTemp" + sep + L"Quorvane_uninstall.exe");
  EXPECT_EQ(InstallTask::EarlierInstallationDir(L"D:\\Apps\\Quorvane\\uninst.exe"),
            L"D:\\Apps\\Quorvane");
  // Cut to 259 characters first, then the last component goes.
  const std::wstring longPath = L"D:\\" + std::wstring(250, L'a') + L"\\bb\\uninst.exe";
  EXPECT_EQ(InstallTask::EarlierInstallationDir(longPath), L"D:\\" + std::wstring(250, L'a') + L"\\bb");
  const std::wstring tooLong = L"D:\\" + std::wstring(254, L'a') + L"\\bb\\uninst.exe";
  EXPECT_EQ(InstallTask::EarlierInstallationDir(tooLong), L"D:\\" + std::wstring(254, L'a'));
}

}  // namespace
