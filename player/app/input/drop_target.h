// The main window's drop target (copy only): files dropped from the shell
// become one open operation; the player's private drag data ("ZORVAKPL"
// lines of a playlist editor, "XLISTITM" entries of the main window's list
// menus) is read only after it was checked against the live editors and
// menus, since OLE drag and drop crosses processes and any program can
// offer data under those names.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "zv_playback.h"

namespace zv {

// The registered clipboard formats of the private data.
UINT playlistLineFormat();  // "ZORVAKPL"
UINT listItemFormat();      // "XLISTITM"

// The private drag record: the 8-byte tag, the process that made it, which
// list (an editor number or a list menu) and which line of it, and for a
// list menu entry its command.
#pragma pack(push, 1)
struct DragRecord {
  char tag[8];
  uint32_t processId;
  int32_t list;
  int32_t line;
  char command[260];
};
#pragma pack(pop)
static_assert(sizeof(DragRecord) == 280);

// A record from raw bytes: null unless the size and tag match, the command
// is terminated and it was made by this process.
std::optional<DragRecord> readDragRecord(const void* data, size_t size, const char (&tag)[9]);
DragRecord makeDragRecord(const char (&tag)[9], int32_t list, int32_t line, const std::string& command);

// What the window does with a drop; the window fills these in.
struct DropHandlers {
  // False while a modal dialog is open: every drop is refused.
  std::function<bool()> accepting;
  // The open-mode menu after a right-button drag; nullopt when cancelled.
  std::function<std::optional<OpenMode>(POINT)> askMode;
  std::function<void(const std::vector<std::string>&, OpenMode)> openFiles;
  // Private records, already read; false when no live editor or menu owns
  // the list named (the drop is then refused).
  std::function<bool(const DragRecord&)> editorLine;
  std::function<bool(const DragRecord&, OpenMode)> listItem;
};

class DropTarget final : public IDropTarget {
 public:
  explicit DropTarget(DropHandlers handlers) : handlers_(std::move(handlers)) {}
  virtual ~DropTarget() = default;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override;
  // IDropTarget
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;

  // The files of a CF_HDROP medium.
  static std::vector<std::string> filesOf(IDataObject* data);

 private:
  bool offered(IDataObject* data) const;
  DropHandlers handlers_;
  LONG refs_ = 1;  // the window's own reference
  bool canDrop_ = false;
  DWORD startKeys_ = 0;
};

}  // namespace zv
