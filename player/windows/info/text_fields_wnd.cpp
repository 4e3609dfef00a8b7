#include "text_fields_wnd.h"

#include <commctrl.h>

#include "control_art.h"
#include "help_request.h"

namespace zv::info {

namespace {
const int kGridId = 400, kValueId = 401;
// The value is the item's own text (the list view's label editor edits
// it); the display order puts the name first.
enum { colValue = 0, colName = 1 };
}  // namespace

TTextFieldsWnd::TTextFieldsWnd(ZvId3v2Tag tag, std::string rootDir, std::string language)
    : TFrameWnd("textfields", ui::FrameKind::dialog), tag_(tag), rootDir_(std::move(rootDir)),
      language_(std::move(language)) {
  before_ = textFieldRows(tag_);
  rows_ = before_;
}

bool TTextFieldsWnd::open(HWND owner) {
  lng_ = std::make_unique<ui::WindowLng>(rootDir_, language_, "TextFieldsWnd.lng");
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  const std::string caption = lng_->text("TextFieldsWnd", "ID3v2 editor");
  if (!createFrame(rootDir_, caption.c_str(), {420, 380}, owner, false)) return false;
  const RECT c = clientRect();
  grid_ = makeChild(hwnd(), WC_LISTVIEWA,
                    WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_EDITLABELS,
                    {c.left + 8, c.top + 8, c.right - 8, c.bottom - 72}, kGridId);
  ListView_SetExtendedListViewStyle(grid_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  const ui::ControlArt& art = ui::controlArt();
  ListView_SetBkColor(grid_, art.face);
  ListView_SetTextBkColor(grid_, art.face);
  ListView_SetTextColor(grid_, art.text);
  const std::string names[2] = {lng_->text("ColValue", "Value"), lng_->text("ColName", "Name")};
  const int widths[2] = {220, 160};
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.pszText = const_cast<char*>(names[i].c_str());
    col.cx = widths[i];
    col.iSubItem = i;
    ListView_InsertColumn(grid_, i, &col);
  }
  int order[2] = {colName, colValue};
  ListView_SetColumnOrderArray(grid_, 2, order);
  for (size_t i = 0; i < rows_.size(); ++i) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = int(i);
    item.pszText = const_cast<char*>(rows_[i].value.c_str());
    ListView_InsertItem(grid_, &item);
    ListView_SetItemText(grid_, int(i), colName, const_cast<char*>(rows_[i].name.c_str()));
  }
  addTabStop(grid_);
  auto& label = addElement<ui::TZText>(lng_->text("lValue", "Value"));
  label.setRect({c.left + 8, c.bottom - 62, c.left + 60, c.bottom - 46});
  value_ = makeChild(hwnd(), "EDIT", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL,
                     {c.left + 64, c.bottom - 64, c.right - 8, c.bottom - 42}, kValueId);
  addTabStop(value_);
  auto& ok = addElement<ui::TZButton>(lng_->text("OK", "OK"));
  ok.setName("ok");
  ok.setRect({c.right - 168, c.bottom - 32, c.right - 88, c.bottom - 8});
  ok.onClick = [this] { accept(); };
  auto& cancelButton = addElement<ui::TZButton>(lng_->text("Cancel", "Cancel"));
  cancelButton.setName("cancel");
  cancelButton.setRect({c.right - 80, c.bottom - 32, c.right - 8, c.bottom - 8});
  cancelButton.onClick = [this] { cancel(); };
  lng_->flush();
  selectRow(0);
  ShowWindow(hwnd(), SW_SHOW);
  return true;
}

void TTextFieldsWnd::selectRow(int row) {
  if (row < 0 || row >= int(rows_.size())) return;
  current_ = row;
  ListView_SetItemState(grid_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  filling_ = true;
  SetWindowTextA(value_, rows_[row].value.c_str());
  filling_ = false;
}

void TTextFieldsWnd::setValue(int row, const std::string& value) {
  if (row < 0 || row >= int(rows_.size())) return;
  rows_[row].value = value;
  ListView_SetItemText(grid_, row, colValue, const_cast<char*>(value.c_str()));
  if (row == current_ && !filling_ && windowText(value_) != value) {
    filling_ = true;
    SetWindowTextA(value_, value.c_str());
    filling_ = false;
  }
}

bool TTextFieldsWnd::changed() const {
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].value != before_[i].value) return true;
  return false;
}

void TTextFieldsWnd::accept() {
  if (done_) return;
  applyTextFieldRows(tag_, before_, rows_);
  accepted_ = done_ = true;
  ShowWindow(hwnd(), SW_HIDE);
}

void TTextFieldsWnd::cancel() {
  done_ = true;
  ShowWindow(hwnd(), SW_HIDE);
}

LRESULT TTextFieldsWnd::onNotify(NMHDR* header) {
  if (header->hwndFrom != grid_) return 0;
  switch (header->code) {
    case LVN_ITEMCHANGED: {
      auto* change = reinterpret_cast<NMLISTVIEW*>(header);
      if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) && change->iItem != current_)
        selectRow(change->iItem);
      return 0;
    }
    case LVN_ENDLABELEDITA: {
      auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
      if (info->item.pszText) setValue(info->item.iItem, info->item.pszText);
      return FALSE;
    }
    case LVN_KEYDOWN:
      if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_F2 && current_ >= 0) ListView_EditLabel(grid_, current_);
      return 0;
    default: return 0;
  }
}

LRESULT TTextFieldsWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (zv::answerHelpKey(hwnd(), message, "info.html")) return TRUE;
  switch (message) {
    case WM_NOTIFY: return onNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND:
      if (LOWORD(wParam) == kValueId && HIWORD(wParam) == EN_CHANGE && !filling_ && current_ >= 0) {
        filling_ = true;
        setValue(current_, windowText(value_));
        filling_ = false;
      }
      return 0;
    case WM_CTLCOLOREDIT: return colors_.answer(reinterpret_cast<HDC>(wParam), false);
    case WM_CLOSE: cancel(); return 0;
    default: break;
  }
  return TFrameWnd::handle(message, wParam, lParam);
}

bool runTextFieldsModal(TTextFieldsWnd& window, HWND owner) {
  if (!window.open(owner)) return false;
  if (owner) EnableWindow(owner, FALSE);
  MSG msg;
  while (!window.done()) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(int(msg.wParam));
      window.cancel();
      break;
    }
    // Esc cancels, unless it ends an in-place edit of the grid.
    HWND inPlace = ListView_GetEditControl(window.grid());
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && GetAncestor(msg.hwnd, GA_ROOT) == window.hwnd() &&
        !(inPlace && IsWindowVisible(inPlace))) {
      window.cancel();
      continue;
    }
    if (ui::TSkinnedWnd::translateUiMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (owner) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  return window.accepted();
}

}  // namespace zv::info
