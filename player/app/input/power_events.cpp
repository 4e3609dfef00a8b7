#include "input/power_events.h"

namespace zv {
namespace {

// PBT_APMQUERYSUSPEND 0 is only a question; 4 and 5 are the suspend and
// standby themselves.
bool isSuspend(unsigned e) { return e == 4 || e == 5; }
// 6 to 9 are the older systems' resume codes (9, battery low, is harmless
// behind the "had suspended" mark); 0x12, the automatic resume, is the one
// that systems since Vista send after a wake nobody watched.
bool isResume(unsigned e) { return (e >= 6 && e <= 9) || e == 0x12; }

}  // namespace

PowerAction PowerResume::onEvent(unsigned event, bool playIntent, bool playingNow) {
  if (isSuspend(event)) {
    // A second suspend notice (4 after 5) keeps the first one's answer.
    if (!suspended_) wasPlaying_ = playIntent;
    suspended_ = true;
    return PowerAction::stop;
  }
  if (isResume(event)) {
    const bool resume = suspended_ && wasPlaying_ && !playingNow;
    suspended_ = false;
    wasPlaying_ = false;
    return resume ? PowerAction::play : PowerAction::none;
  }
  return PowerAction::none;
}

}  // namespace zv
