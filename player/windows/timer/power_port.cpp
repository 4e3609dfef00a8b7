#include "power_port.h"

namespace zv::timer {
namespace {

struct ActionTexts {
  const char* caption;
  const char* warning;
  const char* word;
};

constexpr ActionTexts kActions[] = {
    {"TmStop###Stop music", "", ""},
    {"TmStandby###Standby mode", "CountStandby###Entering standby mode in 15 seconds...", "standby"},
    {"TmHibernate###Hibernate mode", "CountHibernate###Entering hibernate mode in 15 seconds...", "hibernate"},
    {"TmShutdown###Shutdown system", "CountShutdown###Shutting down the system in 15 seconds...", "shutdown"},
};

// An action outside 0..3 reads as 0: stop music only.
const ActionTexts& textsOf(int32_t action) {
  return kActions[action >= actionStop && action <= actionShutdown ? action : actionStop];
}

}  // namespace

std::vector<OffAction> availableOffActions(PowerPort& power) {
  std::vector<OffAction> actions{actionStop, actionStandby};
  const bool privilege = power.canEnableShutdownPrivilege();
  if (privilege && power.isNt5OrLater() && power.hibernationFilePresent()) actions.push_back(actionHibernate);
  if (privilege) actions.push_back(actionShutdown);
  return actions;
}

const char* offActionCaption(int32_t action) { return textsOf(action).caption; }
const char* offActionWarning(int32_t action) { return textsOf(action).warning; }
const char* offActionWord(int32_t action) { return textsOf(action).word; }

bool carryOut(PowerPort& power, const std::string& word) {
  if (word == "standby")
    power.standby();
  else if (word == "hibernate")
    power.hibernate();
  else if (word == "shutdown")
    power.shutdown();
  else
    return false;
  return true;
}

}  // namespace zv::timer
