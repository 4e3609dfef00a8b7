#include "display/label_texts.h"

#include "text/program_text.h"

namespace zv {

std::string fileLabelText(const std::string& group, const std::string& file, bool l2Group) {
  if (!l2Group || group.empty()) return file;
  return group + "  \x01" + programText("\x97") + "\x02  " + file;
}

std::string labelTooltip(const std::string& caption, const std::string& text) {
  if (text.empty()) return "";
  return caption + ":\r\n" + text;
}

std::string buttonTooltip(const std::string& hint, const std::string& shiftHint, bool shiftDiffers) {
  if (!shiftDiffers || shiftHint.empty()) return hint;
  return hint + " / [+Shift] " + shiftHint;
}

}  // namespace zv
