// The program's real power port: the shutdown privilege, the hibernation
// probe and the power actions of the timer's countdown. Only zorvak.exe
// links it; tests give the windows a recording port instead.
#pragma once
#include "power_port.h"

namespace zv {

class SystemPower final : public timer::PowerPort {
 public:
  bool canEnableShutdownPrivilege() override;
  bool isNt5OrLater() override;
  bool hibernationFilePresent() override;
  void standby() override;
  void hibernate() override;
  void shutdown() override;
};

}  // namespace zv
