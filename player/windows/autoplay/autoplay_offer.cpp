#include "autoplay/autoplay_offer.h"

#include <string>

#include "autoplay/autoplay_window.h"
#include "main_window.h"
#include "sequencing/disc_changes.h"
#include "zv_config.h"

namespace zv {

void offerArrivedDisc(TMainWnd& main, char drive) {
  char names[260] = {};
  configString("cdAutoOpen", names, "playlist.m3u|cd.m3u");
  if (!offerDiscForAutoplay(std::string(1, drive) + ":\\", names)) return;
  const std::optional<OpenMode> mode = askAutoplay(main.dirs().root, main.hwnd());
  if (!mode) return;
  Sequencer& seq = main.sequencer();
  seq.beginOpen(*mode);
  seq.addItem(std::string(1, drive) + ":", *mode);
  seq.endOpen(*mode);
}

}  // namespace zv
