// A stand-in for the setup package (built as qv_fake_package) and for the
// uninstaller of an earlier installation (built with QV_FAKE_UNINSTALLER as
// qv_fake_uninstaller): a console program that records the command line it
// received and plays one scripted report.
//
// The package records into "package_cmdline.txt" beside itself and takes its
// scenario from a "-scenario=NAME" argument (which the installer's InstCmd
// carries) or from the environment variable QV_FAKE_SCENARIO. The uninstaller
// records into "uninstaller_cmdline.txt" in its "_?=" directory and reads its
// scenario from "uninstall_scenario.txt" there.
//
// The record holds one argument per line, UTF-8; on Windows the first line is
// "raw:" and the command line exactly as the system passed it.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#else
#include <csignal>
#include <unistd.h>
#endif

namespace {

[[maybe_unused]] std::string Utf8(const std::wstring& text) {
  std::string out;
  for (wchar_t wc : text) {
    auto cp = static_cast<unsigned long>(wc);
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

struct Invocation {
  std::string raw;                // Windows only
  std::vector<std::string> args;  // UTF-8, program first
};

Invocation Receive(int argc, char** argv) {
  Invocation inv;
#ifdef _WIN32
  (void)argc;
  (void)argv;
  const wchar_t* line = GetCommandLineW();
  inv.raw = Utf8(line);
  int count = 0;
  wchar_t** words = CommandLineToArgvW(line, &count);
  for (int i = 0; i < count; ++i) inv.args.push_back(Utf8(words[i]));
  LocalFree(words);
#else
  for (int i = 0; i < argc; ++i) inv.args.push_back(argv[i]);
#endif
  return inv;
}

char Separator() {
#ifdef _WIN32
  return '\\';
#else
  return '/';
#endif
}

[[maybe_unused]] std::string OwnDirectory(const Invocation& inv) {
#ifdef _WIN32
  (void)inv;
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::string own = Utf8(path);
#else
  std::string own = inv.args.empty() ? std::string() : inv.args[0];
#endif
  const size_t pos = own.find_last_of("\\/");
  return pos == std::string::npos ? "." : own.substr(0, pos);
}

std::string ArgValue(const Invocation& inv, const std::string& prefix) {
  for (size_t i = 1; i < inv.args.size(); ++i)
    if (inv.args[i].compare(0, prefix.size(), prefix) == 0) return inv.args[i].substr(prefix.size());
  return {};
}

void Record(const std::string& path, const Invocation& inv) {
  std::ofstream out(path, std::ios::binary);
#ifdef _WIN32
  out << "raw:" << inv.raw << "\n";
#endif
  for (const auto& a : inv.args) out << a << "\n";
}

void Write(const std::string& bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

void Pause(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

[[noreturn]] void Crash() {
  std::fflush(stdout);
#ifdef _WIN32
  TerminateProcess(GetCurrentProcess(), 0xC0000005);
#else
  std::signal(SIGKILL, SIG_DFL);
  kill(getpid(), SIGKILL);
#endif
  std::abort();
}

// Every report key of the package, in one write.
std::string FullReport(const std::string& nl) {
  return "Progress=0.25" + nl + "InstPath=C:\\Program Files\\Quorvane" + nl +
         "InstallVersion=2.3.4" + nl + "ExePath=C:\\Program Files\\Quorvane\\Quorvex.exe" + nl +
         "StartExe=C:\\Program Files\\Quorvane\\Start.exe" + nl +
         "UninstExePath=C:\\Program Files\\Quorvane\\uninst.exe" + nl +
         "UninstExe=C:\\Program Files\\Quorvane\\uninst2.exe" + nl +
         "UninstEp=C:\\Program Files\\Quorvane\\uninstall.exe" + nl + "TopShowDetention=1500" +
         nl + "FinsihCloseDetention=-1" + nl + "StartUrl=https://example.invalid/welcome" + nl +
         "StartupStyle=AutoStartup" + nl + "Message=done" + nl + "Progress=1" + nl +
         "State=Success" + nl;
}

[[maybe_unused]] int PlayPackage(const std::string& scenario) {
  if (scenario == "success") {
    Write(FullReport("\n"));
  } else if (scenario == "crlf") {
    Write(FullReport("\r\n"));
  } else if (scenario == "utf8") {
    // "安装完成" in UTF-8, announced first.
    Write("Encode=UTF8\r\n");
    Write("Message=\xE5\xAE\x89\xE8\xA3\x85\xE5\xAE\x8C\xE6\x88\x90\nState=Success\n");
  } else if (scenario == "cp936") {
    // "安装完成" in code page 936.
    Write("Encode=936\nMessage=\xB0\xB2\xD7\xB0\xCD\xEA\xB3\xC9\nState=Success\n");
  } else if (scenario == "error") {
    Write("Progress=0.5\nError=disk full\nState=Fail\n");
  } else if (scenario == "fail") {
    Write("Progress=0.5\nState=Fail\n");
  } else if (scenario == "crash") {
    Write("Progress=0.5\n");
    Crash();
  } else if (scenario == "silent") {
    return 0;
  } else if (scenario == "exit259") {
    return 259;
  } else if (scenario == "hang") {
    // Quiet for longer than the reader waits at a time, then done.
    Write("Progress=0.5\n");
    Pause(1500);
    Write("Progress=1\nState=Success\n");
  } else if (scenario == "big") {
    // 20 MiB of report lines, mostly lines the reader ignores.
    std::string block;
    while (block.size() < 64 * 1024) {
      block += "Progress=0.5\nDetail=copying file number forty-two of many\nMessage=\nx=y\n";
    }
    size_t written = 0;
    while (written < 20u * 1024 * 1024) {
      std::fwrite(block.data(), 1, block.size(), stdout);
      written += block.size();
    }
    Write("State=Success\n");
  } else if (scenario == "cut") {
    // Lines and a multi-byte character cut between writes.
    const char* pieces[] = {"Progr", "ess=0.5\nInstPath=C:\\Qu", "orvane\nEncode=UT",
                            "F8\nMessage=\xE5\xAE", "\x89\xE8\xA3\x85\nState=Succ", "ess"};
    for (const char* p : pieces) {
      Write(p);
      Pause(30);
    }
  } else if (scenario == "after") {
    Write("State=Success\nProgress=0.9\n");
    Pause(200);
    Write("Error=late\nState=Fail\n");
  } else if (scenario == "stderr") {
    // Far more than a pipe holds, on the stream nobody reads for reports.
    const std::string noise(64 * 1024, 'e');
    for (int i = 0; i < 32; ++i) std::fwrite(noise.data(), 1, noise.size(), stderr);
    std::fflush(stderr);
    Write("State=Success\n");
  } else {
    Write("Error=unknown scenario " + scenario + "\n");
    return 2;
  }
  return 0;
}

[[maybe_unused]] int PlayUninstaller(const std::string& scenario) {
  if (scenario == "success") {
    Write("Progress=0.5\n");
    Pause(50);
    Write("State=Success\n");
    Pause(50);
    Write("Progress=1\n");
  } else if (scenario == "error") {
    Write("Progress=0.5\nError=locked\n");
  } else if (scenario == "fail") {
    Write("State=Fail\r\n");
  } else if (scenario == "utf8") {
    Write("Encode=UTF8\nError=\xE5\xAE\x89\xE8\xA3\x85\n");
  } else if (scenario == "silent") {
    return 0;
  } else if (scenario == "crash") {
    Write("Progress=0.3\n");
    Crash();
  } else {
    Write("Error=unknown scenario " + scenario + "\n");
    return 2;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // Line ends exactly as written: a CRLF report is written as CRLF.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  const Invocation inv = Receive(argc, argv);
#ifdef QV_FAKE_UNINSTALLER
  const std::string dir = ArgValue(inv, "_?=");
  Record(dir + Separator() + "uninstaller_cmdline.txt", inv);
  std::string scenario = "success";
  std::ifstream in(dir + Separator() + "uninstall_scenario.txt");
  if (in) std::getline(in, scenario);
  return PlayUninstaller(scenario);
#else
  Record(OwnDirectory(inv) + Separator() + "package_cmdline.txt", inv);
  std::string scenario = ArgValue(inv, "-scenario=");
  if (scenario.empty() && std::getenv("QV_FAKE_SCENARIO")) scenario = std::getenv("QV_FAKE_SCENARIO");
  if (scenario.empty()) scenario = "success";
  return PlayPackage(scenario);
#endif
}
