// The stepping rule of the frame-sequence button (`CSequenceButtonUI`): which
// frame each animation timer event shows, and when the animation ends. The
// control owns one of these and acts on what `Step` returns.
#pragma once

#include <cstdint>
#include <string>

namespace DuiLib {

class SequenceSteps {
 public:
  enum class Action {
    kNothing,    // no frame this time (empty or refused format); timer runs on
    kShowFrame,  // make `frame` the background image and repaint
    kStopTimer,  // kill the animation timer; the last frame stays
  };
  struct Result {
    Action action = Action::kNothing;
    std::wstring frame;
  };

  // Frame name template ("sequencebkimage"), e.g. res\anim\%.3d.png. Only a
  // template with one integer conversion is ever formatted (safe_format.h).
  std::wstring format;
  uint32_t count = 0;     // "sequencecount"
  bool loop = true;       // "sequenceloop"
  bool roundTrip = true;  // "sequenceround"
  bool forward = true;
  uint32_t index = 0;

  // One timer event, after the toolkit's "timer" notification.
  Result Step();
};

}  // namespace DuiLib
