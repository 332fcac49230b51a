// Feeds arbitrary bytes, cut into arbitrary reads, through both report
// protocols. Besides crashes it checks that how the output was cut into reads
// changes no event of the uninstaller, and for the package nothing up to its
// outcome: the read that holds the package's final line ends its report, so
// a cut may only drop events that follow the outcome.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/report_reader.h"

namespace {

struct Event {
  int32_t code;
  double value;
  std::wstring text;
  bool operator==(const Event& o) const {
    // A value may be NaN only if the reader produced one; compare bitwise-ish.
    return code == o.code && (value == o.value || (value != value && o.value != o.value)) &&
           text == o.text;
  }
};

std::vector<Event> Run(Report::CReportReader::Protocol protocol, std::string_view output,
                       std::string_view cuts) {
  std::vector<Event> events;
  Report::CReportReader reader(protocol, [&](int32_t code, double value, const wchar_t* text) {
    events.push_back({code, value, text});
  });
  size_t cutIndex = 0;
  while (!output.empty()) {
    // Each cut byte gives the size of the next read; none left: the rest at once.
    size_t size = output.size();
    if (cutIndex < cuts.size()) size = static_cast<unsigned char>(cuts[cutIndex++]) % 64 + 1;
    if (size > output.size()) size = output.size();
    reader.Feed(output.substr(0, size));
    output.remove_prefix(size);
  }
  reader.Finish();
  return events;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  // First byte: how many of the following bytes describe the cuts.
  const size_t cutCount = std::min<size_t>(data[0], size - 1);
  const std::string_view cuts(reinterpret_cast<const char*>(data + 1), cutCount);
  const std::string_view output(reinterpret_cast<const char*>(data + 1 + cutCount),
                                size - 1 - cutCount);
  using Protocol = Report::CReportReader::Protocol;
  if (!(Run(Protocol::Uninstaller, output, cuts) == Run(Protocol::Uninstaller, output, {})))
    std::abort();

  const std::vector<Event> whole = Run(Protocol::Package, output, {});
  const std::vector<Event> cut = Run(Protocol::Package, output, cuts);
  size_t outcome = whole.size();
  for (size_t i = 0; i < whole.size(); ++i) {
    if (whole[i].code == 2003 || whole[i].code == 2004) {
      outcome = i;
      break;
    }
  }
  const size_t mustMatch = outcome < whole.size() ? outcome + 1 : whole.size();
  if (cut.size() < mustMatch || cut.size() > whole.size()) std::abort();
  for (size_t i = 0; i < cut.size(); ++i) {
    if (!(cut[i] == whole[i])) std::abort();
  }
  return 0;
}
