#include "save_options_dialog.h"

#include <commdlg.h>

#include <cstring>

namespace zv::editor {
namespace {

struct DialogState {
  SaveOptions* options;
};

// Appends raw bytes of a value to a template.
template <typename T>
void put(std::vector<WORD>& t, const T& value) {
  const size_t words = (sizeof(T) + 1) / 2;
  const size_t at = t.size();
  t.resize(at + words, 0);
  std::memcpy(&t[at], &value, sizeof(T));
}

void putText(std::vector<WORD>& t, const std::string& text) {
  const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(n > 0 ? n : 1, L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
  for (wchar_t c : wide) t.push_back(static_cast<WORD>(c));
  if (wide.empty() || wide.back() != L'\0') t.push_back(0);
}

void alignToDword(std::vector<WORD>& t) {
  if (t.size() % 2) t.push_back(0);
}

// Four rows under the dialog's own controls, in dialog units; a box that
// depends on the one above is indented under it.
std::vector<WORD> optionsTemplate(const std::vector<std::string>& texts) {
  std::vector<WORD> t;
  DLGTEMPLATE head{};
  head.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL | DS_SETFONT;
  head.cdit = 4;
  head.cx = 260;
  head.cy = 50;
  put(t, head);
  t.push_back(0);  // no menu
  t.push_back(0);  // the standard class
  t.push_back(0);  // no title
  t.push_back(8);  // the dialog's own font
  putText(t, "MS Shell Dlg");
  for (int i = 0; i < 4; ++i) {
    alignToDword(t);
    DLGITEMTEMPLATE item{};
    item.style = WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX | ((i % 2 == 0) ? WS_VISIBLE : 0);
    item.x = static_cast<short>(i % 2 == 0 ? 6 : 16);
    item.y = static_cast<short>(2 + 12 * i);
    item.cx = 200;
    item.cy = 10;
    item.id = static_cast<WORD>(kSaveOptionIds[i]);
    put(t, item);
    t.push_back(0xFFFF);
    t.push_back(0x0080);  // a button
    putText(t, i < static_cast<int>(texts.size()) ? texts[i] : std::string());
    t.push_back(0);  // no creation data
  }
  return t;
}

bool checked(HWND dlg, int index) { return IsDlgButtonChecked(dlg, kSaveOptionIds[index]) == BST_CHECKED; }

// The boxes line up with the dialog's "File name" label and reach to the
// end of its field.
void alignWithFileName(HWND dlg) {
  HWND dialog = GetParent(dlg);
  HWND label = GetDlgItem(dialog, 0x442);  // stc3
  HWND field = GetDlgItem(dialog, 0x47c);  // cmb13
  if (!field) field = GetDlgItem(dialog, 0x480);  // edt1
  if (!label || !field) return;
  RECT l{}, f{}, unit{0, 0, 10, 0};
  GetWindowRect(label, &l);
  GetWindowRect(field, &f);
  MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&l), 2);
  MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&f), 2);
  MapDialogRect(dlg, &unit);
  for (int i = 0; i < 4; ++i) {
    HWND box = GetDlgItem(dlg, kSaveOptionIds[i]);
    RECT b{};
    GetWindowRect(box, &b);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&b), 2);
    const int left = l.left + (i % 2 == 0 ? 0 : unit.right);
    if (f.right - left > 40)
      SetWindowPos(box, nullptr, left, b.top, f.right - left, b.bottom - b.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void showDependents(HWND dlg) {
  ShowWindow(GetDlgItem(dlg, kSaveOptionIds[1]), checked(dlg, 0) ? SW_SHOW : SW_HIDE);
  ShowWindow(GetDlgItem(dlg, kSaveOptionIds[3]), checked(dlg, 2) ? SW_SHOW : SW_HIDE);
}

UINT_PTR CALLBACK optionsHook(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* ofn = reinterpret_cast<const OPENFILENAMEA*>(lParam);
      auto* state = reinterpret_cast<DialogState*>(ofn->lCustData);
      SetWindowLongPtrA(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
      const SaveOptions& o = *state->options;
      const bool values[4] = {o.editCreated, o.editInNewWindow, o.saveSubPlaylists, o.saveStructure};
      for (int i = 0; i < 4; ++i) CheckDlgButton(dlg, kSaveOptionIds[i], values[i] ? BST_CHECKED : BST_UNCHECKED);
      showDependents(dlg);
      return 0;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && (LOWORD(wParam) == kSaveOptionIds[0] || LOWORD(wParam) == kSaveOptionIds[2]))
        showDependents(dlg);
      return 0;
    case WM_NOTIFY:
      if (reinterpret_cast<const NMHDR*>(lParam)->code == CDN_INITDONE) alignWithFileName(dlg);
      if (reinterpret_cast<const NMHDR*>(lParam)->code == CDN_FILEOK) {
        auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrA(dlg, DWLP_USER));
        if (state) {
          SaveOptions& o = *state->options;
          o.editCreated = checked(dlg, 0);
          o.editInNewWindow = checked(dlg, 1);
          o.saveSubPlaylists = checked(dlg, 2);
          o.saveStructure = checked(dlg, 3);
        }
      }
      return 0;
    default:
      return 0;
  }
}

}  // namespace

std::optional<std::string> runSaveOptionsDialog(HWND owner, const std::string& filter, const char* defaultExtension,
                                                SaveOptions& options, const std::vector<std::string>& texts) {
  std::string f = filter;
  for (char& c : f)
    if (c == '|') c = '\0';
  f.append(2, '\0');
  std::vector<WORD> layout = optionsTemplate(texts);
  SaveOptions chosen = options;
  DialogState state{&chosen};
  char path[MAX_PATH] = {};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.hInstance = reinterpret_cast<HINSTANCE>(layout.data());
  ofn.lpstrFilter = f.c_str();
  ofn.lpstrFile = path;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrDefExt = defaultExtension;
  ofn.lCustData = reinterpret_cast<LPARAM>(&state);
  ofn.lpfnHook = optionsHook;
  ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLEHOOK |
              OFN_ENABLETEMPLATEHANDLE;
  if (!GetSaveFileNameA(&ofn)) return std::nullopt;
  options = chosen;
  return std::string(path);
}

}  // namespace zv::editor
