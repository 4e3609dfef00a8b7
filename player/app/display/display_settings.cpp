#include "display/display_settings.h"

#include "zv_config.h"

namespace zv {

int clampByte(int value) { return value < 0 ? 0 : value > 255 ? 255 : value; }

DisplaySettings readDisplaySettings(bool nt5) {
  DisplaySettings s;
  s.scrollTitle = configBool("scrollTitle", ZV_TRUE) != 0;
  s.trayAnim = configBool("trayAnim", ZV_TRUE) != 0;
  s.showTooltips = configBool("showTooltips", ZV_TRUE) != 0;
  s.showGroupTime = configBool("showGroupTime", ZV_TRUE) != 0;
  s.showTrackTime = configBool("showTrackTime", ZV_TRUE) != 0;
  s.tbHints = configBool("tbHints", ZV_TRUE) != 0;
  s.newStyleOpen = configBool("newStyleOpen", ZV_TRUE) != 0;
  s.menuStyle = configInt("menuStyle", 0);
  if (s.menuStyle < 0 || s.menuStyle > 2) s.menuStyle = 0;
  s.videoFx = configInt("videoFx", 0);
  if (s.videoFx < 0 || s.videoFx > 4) s.videoFx = 0;
  if (s.videoFx == 4 && !nt5) s.videoFx = 1;
  s.alphaConst = clampByte(configInt("alphaconst", 220));
  s.alphaMain = clampByte(configInt("alphamain", 180));
  s.alphaGrad = clampByte(configInt("alphagrad", 255));
  if (s.videoFx == 3) {
    char texture[260] = {};
    configString("texture", texture, "");
    s.texture = texture;
  }
  s.hotkeyMod = configInt("hotkeyMod", 0);
  return s;
}

}  // namespace zv
