#include "frame_editor_wnd.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "gdi_text.h"
#include "id3_values.h"
#include "id3v2_lines.h"
#include "lyrics_file.h"
#include "help_request.h"

namespace zv::info {

namespace {

const int kLabelWidth = 84, kRow = 24, kMargin = 8;
const int kOk = 1, kCancel = 2;

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::string withoutCr(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != '\r') out += c;
  return out;
}

SIZE clientFor(int kind) {
  switch (kind) {
    case ZV_ID3_KIND_USERTEXT: return {340, 2 * kRow + 56};
    case ZV_ID3_KIND_LANGTEXT: return {380, 260};
    case ZV_ID3_KIND_PEOPLE: return {380, 250};
    case ZV_ID3_KIND_OBJECT: return {400, 330};
    default: return {340, kRow + 56};
  }
}

const char* captionFor(int kind) {
  switch (kind) {
    case ZV_ID3_KIND_LANGTEXT: return "Text";
    case ZV_ID3_KIND_PEOPLE: return "Involved people";
    case ZV_ID3_KIND_OBJECT: return "Attached picture";
    default: return "ID3v2 frame";
  }
}

bool readWhole(const std::string& path, std::vector<uint8_t>& out) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const DWORD size = GetFileSize(file.get(), nullptr);
  if (size == INVALID_FILE_SIZE || size > (16u << 20)) return false;
  out.assign(size, 0);
  DWORD got = 0;
  return !size || (ReadFile(file.get(), out.data(), size, &got, nullptr) && got == size);
}

bool writeWhole(const std::string& path, const std::vector<uint8_t>& data) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), data.data(), DWORD(data.size()), &written, nullptr) && written == data.size();
}

std::string extensionOfMime(const std::string& mime) {
  if (mime.find("png") != std::string::npos) return ".png";
  if (mime.find("jp") != std::string::npos) return ".jpg";
  if (mime.find("gif") != std::string::npos) return ".gif";
  if (mime.find("bmp") != std::string::npos) return ".bmp";
  return ".bin";
}

std::string commonFileDialog(HWND owner, bool save, const std::string& suggested) {
  char path[MAX_PATH] = {};
  lstrcpynA(path, suggested.c_str(), MAX_PATH);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = "All files (*.*)\0*.*\0";
  ofn.lpstrFile = path;
  ofn.nMaxFile = MAX_PATH;
  ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  const BOOL ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
  return ok ? std::string(path) : std::string();
}

}  // namespace

const std::vector<std::string>& pictureTypeNames() {
  static const std::vector<std::string> names = {
      "Other", "32x32 file icon", "Other file icon", "Cover (front)", "Cover (back)", "Leaflet page",
      "Media (label side of CD)", "Lead artist", "Artist", "Conductor", "Band", "Composer", "Lyricist",
      "Recording location", "During recording", "During performance", "Movie/video screen capture",
      "A bright coloured fish", "Illustration", "Band logotype", "Publisher logotype"};
  return names;
}

std::function<std::string(HWND, bool, const std::string&)>& TFrameEditorWnd::fileChooser() {
  static std::function<std::string(HWND, bool, const std::string&)> chooser = commonFileDialog;
  return chooser;
}

TFrameEditorWnd::TFrameEditorWnd(ZvId3v2Frame frame, EditorContext context)
    : TFrameWnd("frameeditor", ui::FrameKind::dialog), frame_(frame), context_(std::move(context)) {
  char id[8] = {};
  int32_t kind = ZV_ID3_KIND_OTHER;
  id3v2FrameType(frame_, id, nullptr, &kind);
  id_ = id;
  kind_ = kind;
}

TFrameEditorWnd::~TFrameEditorWnd() = default;

std::string TFrameEditorWnd::tr(const std::string& key, const std::string& text) {
  return lng_ ? lng_->text(key, text) : text;
}

bool TFrameEditorWnd::open(HWND owner) {
  lng_ = std::make_unique<ui::WindowLng>(context_.rootDir, context_.language, "FrameEditorWnd.lng");
  // Text frames are named by their type ("Title", "Content type"); the
  // other editors are windows of their own name.
  char typeName[256] = {};
  id3v2FrameType(frame_, nullptr, typeName, nullptr);
  const bool byType = kind_ == ZV_ID3_KIND_TEXT || kind_ == ZV_ID3_KIND_URL || kind_ == ZV_ID3_KIND_OTHER;
  const std::string caption =
      byType && typeName[0] ? std::string(typeName) : tr(std::string("Caption_") + std::to_string(kind_), captionFor(kind_));
  if (!createFrame(context_.rootDir, caption.c_str(), clientFor(kind_), owner, false)) return false;
  build();
  ShowWindow(hwnd(), SW_SHOW);
  return true;
}

HWND TFrameEditorWnd::field(const std::string& name) const {
  auto it = fields_.find(name);
  return it == fields_.end() ? nullptr : it->second;
}

int TFrameEditorWnd::addRow(const char* key, const char* label, int y, HWND control, int height) {
  const RECT c = clientRect();
  auto& text = addElement<ui::TZText>(tr(key, label));
  text.setRect({c.left + kMargin, c.top + y + 4, c.left + kMargin + kLabelWidth, c.top + y + 20});
  if (control)
    MoveWindow(control, c.left + kMargin + kLabelWidth, c.top + y, c.right - c.left - 2 * kMargin - kLabelWidth,
               height, FALSE);
  return y + height + 6;
}

HWND TFrameEditorWnd::addEdit(const std::string& name, const std::string& text, DWORD style) {
  HWND edit = makeChild(hwnd(), "EDIT", WS_TABSTOP | WS_BORDER | style, {0, 0, 10, 10}, nextId_++, text.c_str());
  fields_[name] = edit;
  addTabStop(edit);
  return edit;
}

HWND TFrameEditorWnd::addCombo(const std::string& name, const std::vector<std::string>& items,
                               const std::string& text, bool list) {
  HWND combo = makeChild(hwnd(), "COMBOBOX", WS_TABSTOP | WS_VSCROLL | (list ? CBS_DROPDOWNLIST : CBS_DROPDOWN),
                         {0, 0, 10, 200}, nextId_++);
  for (const std::string& item : items) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  if (!list) SetWindowTextA(combo, text.c_str());
  fields_[name] = combo;
  addTabStop(combo);
  return combo;
}

void TFrameEditorWnd::build() {
  const RECT c = clientRect();
  const int width = c.right - c.left, height = c.bottom - c.top;
  int y = kMargin;
  auto comboRow = [&](const char* key, const char* label, HWND combo) {
    const RECT cr = clientRect();
    auto& text = addElement<ui::TZText>(tr(key, label));
    text.setRect({cr.left + kMargin, cr.top + y + 4, cr.left + kMargin + kLabelWidth, cr.top + y + 20});
    MoveWindow(combo, cr.left + kMargin + kLabelWidth, cr.top + y, width - 2 * kMargin - kLabelWidth, 220, FALSE);
    y += kRow + 4;
  };
  switch (kind_) {
    case ZV_ID3_KIND_USERTEXT:
      y = addRow("Name", "Name", y, addEdit("desc", frameField(frame_, "desc"), ES_AUTOHSCROLL), 22);
      y = addRow("Value", "Value", y, addEdit("content", frameField(frame_, "content"), ES_AUTOHSCROLL), 22);
      break;
    case ZV_ID3_KIND_LANGTEXT: {
      std::string language = frameField(frame_, "language");
      HWND combo = addCombo("language", {"eng", "rus"}, language.empty() ? "eng" : language, false);
      SendMessageA(combo, CB_LIMITTEXT, 3, 0);
      comboRow("Language", "Language", combo);
      y = addRow("Description", "Description", y, addEdit("desc", frameField(frame_, "desc"), ES_AUTOHSCROLL), 22);
      HWND content = addEdit("content", withCrLf(frameField(frame_, "content")),
                             ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL);
      y = addRow("Text", "Text", y, content, height - y - 44);
      break;
    }
    case ZV_ID3_KIND_PEOPLE: {
      // Two columns side by side: line n of the left is the involvement of
      // the person on line n of the right.
      const std::vector<std::string> lines = splitLines(frameField(frame_, "content"));
      std::string involvement, people;
      for (size_t i = 0; i + 1 < lines.size() || (i < lines.size() && !lines[i].empty()); i += 2) {
        involvement += lines[i] + "\r\n";
        people += (i + 1 < lines.size() ? lines[i + 1] : std::string()) + "\r\n";
      }
      auto& left = addElement<ui::TZText>(tr("Involvement", "Involvement"));
      auto& right = addElement<ui::TZText>(tr("Person", "Person"));
      const int half = (width - 3 * kMargin) / 2;
      left.setRect({c.left + kMargin, c.top + y, c.left + kMargin + half, c.top + y + 16});
      right.setRect({c.left + 2 * kMargin + half, c.top + y, c.right - kMargin, c.top + y + 16});
      y += 20;
      const DWORD style = ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_VSCROLL;
      HWND a = addEdit("involvement", involvement, style), b = addEdit("people", people, style);
      MoveWindow(a, c.left + kMargin, c.top + y, half, height - y - 44, FALSE);
      MoveWindow(b, c.left + 2 * kMargin + half, c.top + y, half, height - y - 44, FALSE);
      break;
    }
    case ZV_ID3_KIND_OBJECT: {
      y = addRow("MimeType", "Content type", y, addEdit("mimetype", frameField(frame_, "mimetype"), ES_AUTOHSCROLL),
                 22);
      y = addRow("Description", "Description", y, addEdit("desc", frameField(frame_, "desc"), ES_AUTOHSCROLL), 22);
      if (id_ == "apic") {
        HWND combo = addCombo("pictype", pictureTypeNames(), {}, true);
        SendMessageA(combo, CB_SETCURSEL, std::clamp<int>(id3v2GetIntField(frame_, "pictype"), 0, 20), 0);
        comboRow("PicType", "Picture type", combo);
      } else {
        y = addRow("FileName", "File name", y, addEdit("filename", frameField(frame_, "filename"), ES_AUTOHSCROLL),
                   22);
      }
      int32_t length = 0;
      const void* bytes = id3v2GetBinaryField(frame_, "data", &length);
      if (bytes && length > 0) data_.assign(static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + length);
      previewRect_ = {c.left + kMargin, c.top + y, c.right - kMargin - 112, c.bottom - 40};
      const int bx = c.right - kMargin - 104;
      const char* keys[3][2] = {{"Open", "Open"}, {"LoadObject", "Load object..."}, {"SaveObject", "Save object..."}};
      std::function<void()> actions[3] = {[this] { openObject(); }, [this] { chooseAndLoad(); },
                                          [this] { chooseAndSave(); }};
      for (int i = 0; i < 3; ++i) {
        auto& b = addElement<ui::TZButton>(tr(keys[i][0], keys[i][1]));
        b.setName(keys[i][0]);
        b.setRect({bx, c.top + y + i * 30, c.right - kMargin, c.top + y + i * 30 + 24});
        b.onClick = actions[i];
      }
      updatePreview();
      break;
    }
    case ZV_ID3_KIND_TEXT:
    case ZV_ID3_KIND_URL: {
      const std::string content = frameField(frame_, "content");
      if (id_ == "tflt" || id_ == "tmed" || id_ == "tcon") {
        comboRow("Value", "Value",
                 addCombo("content", readIdList(idListPath(context_.rootDir, context_.language, id_ + ".id3")),
                          content, false));
      } else {
        y = addRow("Value", "Value", y, addEdit("content", content, ES_AUTOHSCROLL), 22);
      }
      break;
    }
    default: {
      int32_t length = 0;
      id3v2GetBinaryField(frame_, "data", &length);
      auto& text = addElement<ui::TZText>(std::to_string(length) + " " + tr("Bytes", "bytes"));
      text.setRect({c.left + kMargin, c.top + y + 4, c.right - kMargin, c.top + y + 20});
      break;
    }
  }
  auto& ok = addElement<ui::TZButton>(tr("OK", "OK"));
  ok.setName("ok");
  ok.setRect({c.right - 2 * 80, c.bottom - 32, c.right - 80 - 8, c.bottom - 8});
  ok.onClick = [this] { accept(); };
  auto& cancelButton = addElement<ui::TZButton>(tr("Cancel", "Cancel"));
  cancelButton.setName("cancel");
  cancelButton.setRect({c.right - 80, c.bottom - 32, c.right - kMargin, c.bottom - 8});
  cancelButton.onClick = [this] { cancel(); };
  if (!fields_.empty()) SetFocus(fields_.begin()->second);
}

void TFrameEditorWnd::accept() {
  if (done_) return;
  auto text = [&](const char* name) { return withoutCr(windowText(field(name))); };
  switch (kind_) {
    case ZV_ID3_KIND_USERTEXT:
      id3v2SetStringField(frame_, "desc", text("desc").c_str());
      id3v2SetStringField(frame_, "content", text("content").c_str());
      break;
    case ZV_ID3_KIND_LANGTEXT: {
      std::string language = text("language");
      if (language.size() != 3) language = "eng";
      id3v2SetStringField(frame_, "language", language.c_str());
      id3v2SetStringField(frame_, "desc", text("desc").c_str());
      id3v2SetIntField(frame_, "encoding", 0);
      id3v2SetStringField(frame_, "content", text("content").c_str());
      break;
    }
    case ZV_ID3_KIND_PEOPLE: {
      std::vector<std::string> a = splitLines(text("involvement")), b = splitLines(text("people"));
      std::string content;
      for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::string x = i < a.size() ? a[i] : "", y = i < b.size() ? b[i] : "";
        if (x.empty() && y.empty()) continue;
        content += (content.empty() ? "" : "\n") + x + "\n" + y;
      }
      id3v2SetStringField(frame_, "content", content.c_str());
      break;
    }
    case ZV_ID3_KIND_OBJECT:
      id3v2SetStringField(frame_, "mimetype", text("mimetype").c_str());
      id3v2SetStringField(frame_, "desc", text("desc").c_str());
      if (HWND type = field("pictype")) {
        const LRESULT sel = SendMessageA(type, CB_GETCURSEL, 0, 0);
        id3v2SetIntField(frame_, "pictype", sel == CB_ERR ? 0 : int32_t(sel));
      }
      if (field("filename")) id3v2SetStringField(frame_, "filename", text("filename").c_str());
      id3v2SetBinaryField(frame_, "data", data_.data(), int32_t(data_.size()));
      break;
    case ZV_ID3_KIND_TEXT:
    case ZV_ID3_KIND_URL:
      id3v2SetStringField(frame_, "content", text("content").c_str());
      break;
    default: break;
  }
  accepted_ = true;
  done_ = true;
  ShowWindow(hwnd(), SW_HIDE);
}

void TFrameEditorWnd::cancel() {
  done_ = true;
  ShowWindow(hwnd(), SW_HIDE);
}

bool TFrameEditorWnd::loadObject(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!readWhole(path, bytes)) return false;
  data_ = std::move(bytes);
  if (HWND name = field("filename")) {
    const size_t slash = path.find_last_of("\\/");
    SetWindowTextA(name, path.substr(slash == std::string::npos ? 0 : slash + 1).c_str());
  }
  // A picture's content type follows what was loaded.
  DecodedPicture probe;
  if (HWND mime = field("mimetype"); mime && data_.size() >= 4) {
    const uint8_t* d = data_.data();
    const char* type = d[0] == 0x89 && d[1] == 'P'   ? "image/png"
                       : d[0] == 0xFF && d[1] == 0xD8 ? "image/jpeg"
                       : d[0] == 'G' && d[1] == 'I'   ? "image/gif"
                       : d[0] == 'B' && d[1] == 'M'   ? "image/bmp"
                                                      : nullptr;
    if (type) SetWindowTextA(mime, type);
  }
  updatePreview();
  return true;
}

bool TFrameEditorWnd::saveObject(const std::string& path) const { return writeWhole(path, data_); }

void TFrameEditorWnd::updatePreview() {
  preview_ = {};
  if (kind_ == ZV_ID3_KIND_OBJECT && !data_.empty())
    decodePicture(data_.data(), data_.size(), previewRect_.right - previewRect_.left - 4,
                  previewRect_.bottom - previewRect_.top - 4, preview_);
  invalidateRect(previewRect_);
}

void TFrameEditorWnd::openObject() {
  if (data_.empty()) return;
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  const std::string path = std::string(dir) + "zvobject" + extensionOfMime(windowText(field("mimetype")));
  if (saveObject(path)) ShellExecuteA(hwnd(), "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TFrameEditorWnd::chooseAndLoad() {
  const std::string path = fileChooser()(hwnd(), false, {});
  if (!path.empty()) loadObject(path);
}

void TFrameEditorWnd::chooseAndSave() {
  HWND name = field("filename");
  const std::string path = fileChooser()(hwnd(), true, name ? windowText(name) : std::string());
  if (!path.empty()) saveObject(path);
}

void TFrameEditorWnd::paintOver(HDC dc, int, int) {
  if (kind_ != ZV_ID3_KIND_OBJECT) return;
  const RECT& r = previewRect_;
  UniqueBrush frame(CreateSolidBrush(RGB(0, 0, 0)));
  FrameRect(dc, &r, frame.get());
  if (preview_.bgra.empty()) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ui::controlArt().text);
    SelectedObject font(dc, ui::controlFont());
    RECT t = r;
    const std::string text = data_.empty() ? tr("NoObject", "No object") : tr("NoPreview", "No preview");
    ui::drawActiveText(dc, text.c_str(), -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return;
  }
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = preview_.width;
  bi.bmiHeader.biHeight = -preview_.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  const int x = r.left + (r.right - r.left - preview_.width) / 2, y = r.top + (r.bottom - r.top - preview_.height) / 2;
  SetDIBitsToDevice(dc, x, y, preview_.width, preview_.height, 0, 0, 0, preview_.height, preview_.bgra.data(), &bi,
                    DIB_RGB_COLORS);
}

LRESULT TFrameEditorWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (zv::answerHelpKey(hwnd(), message, "info.html")) return TRUE;
  switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return colors_.answer(reinterpret_cast<HDC>(wParam), false);
    case WM_CTLCOLORSTATIC:
      return colors_.answer(reinterpret_cast<HDC>(wParam), true);
    case WM_CLOSE:
      cancel();
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        cancel();
        return 0;
      }
      break;
    default: break;
  }
  return TFrameWnd::handle(message, wParam, lParam);
}

bool runEditorModal(TFrameEditorWnd& editor, HWND owner) {
  if (!editor.open(owner)) return false;
  if (owner) EnableWindow(owner, FALSE);
  MSG msg;
  while (!editor.done()) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: the outer loop must see its WM_QUIT too.
      if (got == 0) PostQuitMessage(int(msg.wParam));
      editor.cancel();
      break;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && IsChild(editor.hwnd(), msg.hwnd)) {
      editor.cancel();
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
  return editor.accepted();
}

}  // namespace zv::info
