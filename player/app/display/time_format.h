// The texts of the time labels ("pos", "total", "pltotal"). A skin names
// the format of each label (attribute "format"); skins are files users
// download, so a format is used only when its conversions are the integer
// ones a time needs: anything else falls back to "%d:%.2d".
#pragma once
#include <cstdint>
#include <string>

namespace zv {

// The placeholder with no stream: "––:––" in code page 1252.
extern const char kNoTime[];

// The skin's format when it is safe, else the default. Accepted: literal
// text ("%%" too) and at most three conversions of the form
// %[0][width][.precision]d with width and precision below 10.
std::string checkedTimeFormat(const std::string& skinFormat);

// A time in the (checked) format: with one conversion the minutes, with two
// minutes and seconds, with three hours, minutes and seconds.
std::string formatTime(const std::string& checkedFormat, int32_t ms);

}  // namespace zv
