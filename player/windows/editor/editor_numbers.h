// Editor numbers 0..1023: each open editor holds one; it names the editor's
// column widths and its state file. A number is never handed out twice while
// its editor lives: with every number taken a new editor is refused.
#pragma once
#include <bitset>
#include <optional>

#include "editor_state_file.h"

namespace zv::editor {

class EditorNumbers {
 public:
  // The first free number, or nullopt when all 1024 are taken.
  std::optional<int> take();
  // That very number (a restored editor keeps its own); false when it is
  // out of range or taken.
  bool takeExact(int number);
  void release(int number);
  bool taken(int number) const { return number >= 0 && number < kMaxEditors && used_[number]; }
  size_t count() const { return used_.count(); }

 private:
  std::bitset<kMaxEditors> used_;
};

}  // namespace zv::editor
