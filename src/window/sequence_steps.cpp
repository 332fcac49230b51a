#include "window/sequence_steps.h"

#include "toolkit/safe_format.h"

namespace DuiLib {

SequenceSteps::Result SequenceSteps::Step() {
  Result result;
  if (format.empty()) return result;

  // At the end going forward: turn round, or start again, or stop.
  if (forward && index > count - 1) {
    if (roundTrip) {
      forward = false;
      index = count - 2;
    } else {
      index = 0;
      if (!loop) {
        result.action = Action::kStopTimer;
        return result;
      }
    }
  }
  // Back at the start going backward.
  if (!forward && index == 0) {
    if (roundTrip) forward = true;
    index = 0;
    if (!loop) {
      result.action = Action::kStopTimer;
      return result;
    }
  }

  // The index prints as the signed value it holds (frame counts below 2 with
  // the round trip make it wrap below 0).
  std::wstring frame;
  const bool formatted = FormatInteger(format, static_cast<int32_t>(index), frame);
  if (forward) {
    ++index;
  } else {
    --index;
  }
  if (formatted) {
    result.action = Action::kShowFrame;
    result.frame = std::move(frame);
  }
  return result;
}

}  // namespace DuiLib
