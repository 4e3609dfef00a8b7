// What the timer asks of the system beyond the clock: whether the machine
// can hibernate or be shut down by this process, and the power actions
// themselves. The program's one real port lives with the program
// (player/app/system_power.cpp); tests hand the windows a recording one, so
// no test can suspend, hibernate or shut down the machine.
#pragma once
#include <string>
#include <vector>

#include "timer_record.h"

namespace zv::timer {

class PowerPort {
 public:
  virtual ~PowerPort() = default;
  // The process can enable "SeShutdownPrivilege".
  virtual bool canEnableShutdownPrivilege() = 0;
  // Windows NT 5.0 or later.
  virtual bool isNt5OrLater() = 0;
  // The power-capability query succeeds and reports a hibernation file.
  virtual bool hibernationFilePresent() = 0;
  // The actions: "standby", "hibernate", "shutdown".
  virtual void standby() = 0;
  virtual void hibernate() = 0;
  virtual void shutdown() = 0;
};

// The off actions offered, in action order: 0 and 1 always; 2 with the
// privilege, NT 5 and a hibernation file; 3 with the privilege.
std::vector<OffAction> availableOffActions(PowerPort& power);

// Menu caption, warning and action word of an action ("" where it has none).
const char* offActionCaption(int32_t action);
const char* offActionWarning(int32_t action);
const char* offActionWord(int32_t action);

// Carries out an action word; anything else does nothing (false).
bool carryOut(PowerPort& power, const std::string& word);

}  // namespace zv::timer
