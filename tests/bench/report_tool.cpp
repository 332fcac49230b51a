// Runs a child that writes FILE to its standard output ("cat FILE") and reads
// it as a setup package report, the way the package runner does: the real
// pipe loop, line joining, decoding and key table. Prints the wall time and
// the events raised. Used by engine_bench.sh.
//
//   qv_report_tool FILE
#include <chrono>
#include <cstdio>
#include <string>

#include "app/utils_text.h"
#include "engine/child_process.h"
#include "engine/report_reader.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
    return 2;
  }
  long events = 0;
  const auto start = std::chrono::steady_clock::now();
  Report::CReportReader reader(Report::CReportReader::Protocol::Package,
                               [&](int32_t, double, const wchar_t*) { ++events; });
  Utils::ChildProcess child(L"cat \"" + Utils::ToWide(argv[1], Utils::kCodePageUtf8) + L"\"",
                            Utils::kStartUseStdHandles | Utils::kStartUseShowWindow,
                            Utils::kShowHidden);
  Utils::FollowOutput(child, [&](std::string_view chunk) { reader.Feed(chunk); });
  reader.Finish();
  child.WaitForExit();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("seconds %.4f events %ld\n", seconds, events);
  return 0;
}
