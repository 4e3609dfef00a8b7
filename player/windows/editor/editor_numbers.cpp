#include "editor_numbers.h"

namespace zv::editor {

std::optional<int> EditorNumbers::take() {
  for (int n = 0; n < kMaxEditors; ++n)
    if (!used_[n]) {
      used_[n] = true;
      return n;
    }
  return std::nullopt;
}

bool EditorNumbers::takeExact(int number) {
  if (number < 0 || number >= kMaxEditors || used_[number]) return false;
  used_[number] = true;
  return true;
}

void EditorNumbers::release(int number) {
  if (number >= 0 && number < kMaxEditors) used_[number] = false;
}

}  // namespace zv::editor
