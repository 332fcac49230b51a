// Report lines of the child programs (the setup package and the uninstaller
// of an earlier installation).
//
// A child reports by writing text lines to its standard output. The reader is
// fed the bytes as the pipe delivers them, in chunks cut anywhere: the bytes
// of an unfinished last line are held back and joined to the next chunk, so a
// line, or a multi-byte character, cut between two reads is seen whole. Each
// complete line is decoded from the reader's current code page and matched
// against the keys of its protocol; a matching line raises its event on the
// callback. Everything here is plain computation on the calling thread.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/progress_callback.h"

namespace Report {

// Splits a byte stream into lines at each line feed (the line feed is not part
// of the line; a carriage return before it stays). A line longer than
// kMaxLine bytes is kept only up to kMaxLine bytes and delivered as cut.
class CLineSplitter {
 public:
  static constexpr size_t kMaxLine = 64 * 1024;

  // Calls onLine(std::string_view bytes, bool cut) for every line that this
  // chunk completes, in order. The view is valid only during the call.
  template <typename OnLine>
  void Feed(std::string_view chunk, OnLine&& onLine) {
    while (!chunk.empty()) {
      const void* lf = std::memchr(chunk.data(), '\n', chunk.size());
      if (!lf) {
        Hold(chunk);
        return;
      }
      const size_t end = static_cast<size_t>(static_cast<const char*>(lf) - chunk.data());
      if (pending_.empty() && !cut_) {
        const bool cut = end > kMaxLine;
        onLine(chunk.substr(0, cut ? kMaxLine : end), cut);
      } else {
        Hold(chunk.substr(0, end));
        onLine(std::string_view(pending_), cut_);
        pending_.clear();
        cut_ = false;
      }
      chunk.remove_prefix(end + 1);
    }
  }

  // Delivers a last line that no line feed ended, if there is one.
  template <typename OnLine>
  void Finish(OnLine&& onLine) {
    if (pending_.empty() && !cut_) return;
    onLine(std::string_view(pending_), cut_);
    pending_.clear();
    cut_ = false;
  }

 private:
  void Hold(std::string_view bytes) {
    const size_t room = kMaxLine - pending_.size();
    if (bytes.size() > room) {
      cut_ = true;
      bytes = bytes.substr(0, room);
    }
    pending_.append(bytes);
  }

  std::string pending_;
  bool cut_ = false;
};

// Decodes one line's bytes, up to the first zero byte among them, from
// `codePage` into `out` (reused to spare allocations). A code page the system
// does not know gives the empty text.
void DecodeLine(std::string_view bytes, int32_t codePage, std::wstring& out);

// What a package report has set besides its events.
struct PackageState {
  int32_t codePage = 0;
  int32_t installedVersion[3] = {0, 0, 0};
};

// Handles one decoded line of the setup package's report; raises at most two
// events (none for most lines). `cut` marks a line that was too long to keep
// whole: its text values are delivered empty, as any value over 771
// characters is. Returns true for a final line ("State=" with "Success" or
// "Fail", any "Error=").
bool HandlePackageLine(const std::wstring& line, bool cut, PackageState& state,
                       const ProgressCallback& raise);

// The same for the uninstaller of an earlier installation, whose report knows
// only "Progress=", "Error=", "State=" and "Encode=". `codePage` is updated by
// "Encode=".
bool HandleUninstallerLine(const std::wstring& line, bool cut, int32_t& codePage,
                           const ProgressCallback& raise);

// Number readers of the report protocol, exposed for their tests.
// A decimal real after optional ASCII white space and sign; `fallback` when
// the text does not begin with one.
double ReadReal(std::wstring_view text, double fallback);
// A decimal integer after optional ASCII white space and sign, read the way a
// string-to-integer conversion reads it; false when there are no digits. The
// result saturates at the limits of a 64-bit integer.
bool ReadInteger(std::wstring_view& text, int64_t& value);

// Feeds a child's output through a splitter into one of the two protocols,
// keeping the protocol's state between chunks.
class CReportReader {
 public:
  enum class Protocol { Package, Uninstaller };

  CReportReader(Protocol protocol, ProgressCallback raise);

  // Handles every line that `chunk` completes. For the package, the read
  // that delivered a final line ends the report: the lines it completes after
  // that line are still handled, those of later reads raise nothing.
  void Feed(std::string_view chunk);
  // Handles the unfinished last line once the output has ended.
  void Finish();

  // True once a final line was handled.
  bool SawFinal() const { return sawFinal_; }
  int32_t CodePage() const { return state_.codePage; }
  const PackageState& State() const { return state_; }

 private:
  void HandleBytes(std::string_view bytes, bool cut);

  Protocol protocol_;
  ProgressCallback raise_;
  CLineSplitter splitter_;
  PackageState state_;
  std::wstring line_;
  bool sawFinal_ = false;
  bool finalInEarlierChunk_ = false;
};

}  // namespace Report
