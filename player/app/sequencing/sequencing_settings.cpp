#include "sequencing/sequencing_settings.h"

#include "zv_config.h"

namespace zv {

SequencingSettings readSequencingSettings() {
  SequencingSettings s;
  s.loop1 = configBool("loop1", ZV_FALSE) != 0;
  s.loop2 = configBool("loop2", ZV_FALSE) != 0;
  s.shuffle = configBool("shuffle", ZV_FALSE) != 0;
  s.groupMode = configInt("groupMode", 0);
  s.crossfade = configBool("crossfade", ZV_FALSE) != 0;
  s.fadeMode = configInt("fademode", 0);
  s.cfDuration = configInt("cfduration", 3000);
  s.skipStart = configBool("skipStart", ZV_FALSE) != 0;
  s.skipStartL = configInt("skipStartL", 0);
  s.skipEnd = configBool("skipEnd", ZV_FALSE) != 0;
  s.skipEndL = configInt("skipEndL", 0);
  return s;
}

}  // namespace zv
