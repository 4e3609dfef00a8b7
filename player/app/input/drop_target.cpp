#include "input/drop_target.h"

#include <shellapi.h>

#include <cstring>

#include "menus/open_mode.h"

namespace zv {

UINT playlistLineFormat() {
  static const UINT format = RegisterClipboardFormatA("ZORVAKPL");
  return format;
}

UINT listItemFormat() {
  static const UINT format = RegisterClipboardFormatA("XLISTITM");
  return format;
}

std::optional<DragRecord> readDragRecord(const void* data, size_t size, const char (&tag)[9]) {
  if (!data || size != sizeof(DragRecord)) return std::nullopt;
  DragRecord r;
  std::memcpy(&r, data, sizeof(r));
  if (std::memcmp(r.tag, tag, 8) != 0) return std::nullopt;
  if (r.processId != GetCurrentProcessId()) return std::nullopt;
  if (!std::memchr(r.command, 0, sizeof(r.command))) return std::nullopt;
  return r;
}

DragRecord makeDragRecord(const char (&tag)[9], int32_t list, int32_t line, const std::string& command) {
  DragRecord r{};
  std::memcpy(r.tag, tag, 8);
  r.processId = GetCurrentProcessId();
  r.list = list;
  r.line = line;
  std::strncpy(r.command, command.c_str(), sizeof(r.command) - 1);
  return r;
}

namespace {

FORMATETC formatOf(UINT format) { return {static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

// The private record of `format` in `data`, read and checked.
std::optional<DragRecord> recordOf(IDataObject* data, UINT format, const char (&tag)[9]) {
  FORMATETC f = formatOf(format);
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&f, &medium))) return std::nullopt;
  std::optional<DragRecord> r;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
    const size_t size = GlobalSize(medium.hGlobal);
    if (const void* bytes = GlobalLock(medium.hGlobal)) {
      r = readDragRecord(bytes, size, tag);
      GlobalUnlock(medium.hGlobal);
    }
  }
  ReleaseStgMedium(&medium);
  return r;
}

bool has(IDataObject* data, UINT format) {
  FORMATETC f = formatOf(format);
  return data && data->QueryGetData(&f) == S_OK;
}

}  // namespace

HRESULT DropTarget::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDropTarget) {
    *out = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

// The window owns the object; COM's references only keep it while a drag
// is under way, so reaching zero never frees it.
ULONG DropTarget::Release() { return InterlockedDecrement(&refs_); }

std::vector<std::string> DropTarget::filesOf(IDataObject* data) {
  std::vector<std::string> files;
  FORMATETC f = formatOf(CF_HDROP);
  STGMEDIUM medium{};
  if (!data || FAILED(data->GetData(&f, &medium))) return files;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
    HDROP drop = static_cast<HDROP>(medium.hGlobal);
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      char path[MAX_PATH] = {};
      const UINT n = DragQueryFileA(drop, i, path, sizeof(path));
      if (n > 0 && n < sizeof(path)) files.emplace_back(path, n);
    }
  }
  ReleaseStgMedium(&medium);
  return files;
}

bool DropTarget::offered(IDataObject* data) const {
  return has(data, CF_HDROP) || has(data, playlistLineFormat()) || has(data, listItemFormat());
}

HRESULT DropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL, DWORD* effect) {
  canDrop_ = offered(data);
  startKeys_ = keys;
  return DragOver(keys, {}, effect);
}

HRESULT DropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  const bool ok = canDrop_ && (!handlers_.accepting || handlers_.accepting()) && (*effect & DROPEFFECT_COPY);
  *effect = ok ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT DropTarget::DragLeave() {
  canDrop_ = false;
  return S_OK;
}

HRESULT DropTarget::Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) {
  const DWORD allowed = *effect;
  *effect = DROPEFFECT_NONE;
  canDrop_ = false;
  if (!data || !(allowed & DROPEFFECT_COPY) || (handlers_.accepting && !handlers_.accepting())) return S_OK;
  // The drag's buttons are gone at the drop; the start of it tells which.
  const bool right = (startKeys_ & MK_RBUTTON) != 0;
  auto chooseMode = [&]() -> std::optional<OpenMode> {
    if (right) return handlers_.askMode ? handlers_.askMode(POINT{at.x, at.y}) : std::nullopt;
    return openModeForModifiers((keys & MK_CONTROL) != 0, (keys & MK_SHIFT) != 0);
  };
  if (has(data, playlistLineFormat())) {
    std::optional<DragRecord> r = recordOf(data, playlistLineFormat(), "ZORVAKPL");
    if (r && handlers_.editorLine && handlers_.editorLine(*r)) *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  if (has(data, listItemFormat())) {
    std::optional<DragRecord> r = recordOf(data, listItemFormat(), "XLISTITM");
    if (!r) return S_OK;
    std::optional<OpenMode> mode = chooseMode();
    if (mode && handlers_.listItem && handlers_.listItem(*r, *mode)) *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  std::vector<std::string> files = filesOf(data);
  if (files.empty()) return S_OK;
  std::optional<OpenMode> mode = chooseMode();
  if (!mode) return S_OK;
  if (handlers_.openFiles) handlers_.openFiles(files, *mode);
  *effect = DROPEFFECT_COPY;
  return S_OK;
}

}  // namespace zv
