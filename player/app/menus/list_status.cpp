#include "menus/list_status.h"

#include <cstdio>

namespace zv {

PluralForm pluralForm(int64_t n, const std::string& language) {
  if (n < 0) n = -n;
  if (language != "ru") return n == 1 ? PluralForm::one : PluralForm::many;
  int64_t last2 = n % 100, last = n % 10;
  if (last2 >= 11 && last2 <= 14) return PluralForm::many;
  if (last == 1) return PluralForm::one;
  if (last >= 2 && last <= 4) return PluralForm::few;
  return PluralForm::many;
}

const char* fileCountKey(PluralForm form) {
  switch (form) {
    case PluralForm::one: return "NFile###file";
    case PluralForm::few: return "NFilesFew###files";
    case PluralForm::many: break;
  }
  return "NFiles###files";
}

std::string playTimeText(int64_t ms) {
  int64_t s = ms / 1000;
  char text[48];
  if (s >= 3600)
    std::snprintf(text, sizeof(text), "%lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                  static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
  else
    std::snprintf(text, sizeof(text), "%lld:%02lld", static_cast<long long>(s / 60), static_cast<long long>(s % 60));
  return text;
}

std::string sizeText(int64_t kb) {
  char text[48];
  if (kb < 1024)
    std::snprintf(text, sizeof(text), "%lld KB", static_cast<long long>(kb));
  else
    std::snprintf(text, sizeof(text), "%.1f MB", static_cast<double>(kb) / 1024.0);
  return text;
}

std::string listStatusText(const ListEntry& e, bool showTime, const std::string& language,
                           const Translate& translate) {
  std::string text;
  auto add = [&](const std::string& part) {
    if (part.empty()) return;
    if (!text.empty()) text += ", ";
    text += part;
  };
  if (showTime && e.timeMs > 0) add(playTimeText(e.timeMs));
  if (e.group)
    add(std::to_string(e.directFiles) + " " + translate(fileCountKey(pluralForm(e.directFiles, language))));
  else
    add(e.format);
  if (e.sizeKb > 0) add(sizeText(e.sizeKb));
  return text;
}

}  // namespace zv
