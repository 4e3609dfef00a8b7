// TTextFieldsWnd: the "ID3v2 editor" grid behind "Text fields...": one row
// per known text and URL frame type (not "txxx"/"wxxx") with the tag's
// current content, then the tag's own "txxx" and "wxxx" frames named by
// their description. A value is edited in place (F2, a click on the
// selected row, or typing into the field below the grid); OK writes the
// changed rows back into the tag.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "child_controls.h"
#include "frame_window.h"
#include "id3v2_lines.h"
#include "own_controls.h"
#include "window_lng.h"

namespace zv::info {

class TTextFieldsWnd : public ui::TFrameWnd {
 public:
  TTextFieldsWnd(ZvId3v2Tag tag, std::string rootDir, std::string language);
  bool open(HWND owner);
  const std::vector<TextFieldRow>& rows() const { return rows_; }
  HWND grid() const { return grid_; }
  HWND valueField() const { return value_; }
  // Puts a value into a row (what the in-place editor and the field do).
  void setValue(int row, const std::string& value);
  // OK: the changed rows into the tag. Cancel: nothing changes.
  void accept();
  void cancel();
  bool done() const { return done_; }
  bool accepted() const { return accepted_; }
  bool changed() const;

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void selectRow(int row);
  LRESULT onNotify(NMHDR* header);

  ZvId3v2Tag tag_;
  std::string rootDir_, language_;
  std::unique_ptr<ui::WindowLng> lng_;
  std::vector<TextFieldRow> before_, rows_;
  HWND grid_ = nullptr, value_ = nullptr;
  int current_ = -1;
  bool filling_ = false, done_ = false, accepted_ = false;
  ChildColors colors_;
};

// Runs the grid until OK or Cancel with its owner disabled; true on OK.
bool runTextFieldsModal(TTextFieldsWnd& window, HWND owner);

}  // namespace zv::info
