// The texts of the group and file labels and their tooltips, and the
// tooltip of a skin button (its command's hint, with the Shift command's).
#pragma once
#include <string>

namespace zv {

// The file label: the file's description, or with "l2Group" the group's and
// the file's joined by an em dash in the label's second colour (markup
// characters 1 and 2).
std::string fileLabelText(const std::string& group, const std::string& file, bool l2Group);

// "<caption>:" + line break + text; empty when there is no text.
std::string labelTooltip(const std::string& caption, const std::string& text);

// A button's tooltip: its hint, and when the button runs something else
// with Shift held, hint + " / " + "[+Shift] " + shift hint.
std::string buttonTooltip(const std::string& hint, const std::string& shiftHint, bool shiftDiffers);

}  // namespace zv
