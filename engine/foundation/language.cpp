#include "foundation/language.h"

#include <memory>

#include "foundation/diagnostics.h"
#include "foundation/language_state.h"
#include "foundation/standard_dirs.h"
#include "zv_lang.h"

namespace zv {
namespace {

std::unique_ptr<LanguageState> g_language;

}  // namespace

bool startLanguage() {
  g_language = std::make_unique<LanguageState>(baseDirectory() + "\\lang");
  return true;
}

void stopLanguage(bool) {
  if (!g_language) return;
  // Keys learnt during this run reach the file even when nobody changes the
  // language again.
  g_language->writeBack();
  g_language.reset();
}

std::string translate(std::string_view text) {
  if (!g_language) {
    size_t at = text.find("###");
    return std::string(at == std::string_view::npos ? text : text.substr(at + 3));
  }
  return g_language->translate(text);
}

}  // namespace zv

ZVEXPORT void ZVAPI setEngineLang(const char* directory, const char* language, const char* fileName) {
  zv::guardedVoid("setEngineLang", [&] {
    if (zv::g_language)
      zv::g_language->setLanguage(directory ? directory : "", language ? language : "", fileName ? fileName : "");
  });
}
