// TFrameEditorWnd: the editor of one ID3v2 frame, chosen by the frame's
// kind: one line of "content" for text and URL frames (a choice list for
// "tflt", "tmed" and "tcon"), "Name" and "Value" for "txxx"/"wxxx", the
// language text window ("Text") for "comm", "uslt" and "user", the involved
// people grid ("Involved people") for "ipls", and the picture and object
// window ("Attached picture") for "apic" and "geob" with its preview and
// "Open", "Load object..." and "Save object...". OK writes the fields into
// the frame; Cancel leaves it as it was.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "child_controls.h"
#include "frame_window.h"
#include "own_controls.h"
#include "picture_decode.h"
#include "window_lng.h"
#include "zvid3.h"

namespace zv::info {

// What an editor needs from its window: the program's root and language
// (the choice lists and the translations).
struct EditorContext {
  std::string rootDir, language;
};

class TFrameEditorWnd : public ui::TFrameWnd {
 public:
  TFrameEditorWnd(ZvId3v2Frame frame, EditorContext context);
  ~TFrameEditorWnd() override;

  bool open(HWND owner);
  // The field's control ("content", "desc", "language", "mimetype",
  // "filename", "pictype", "people", "involvement"); null when this kind
  // has none.
  HWND field(const std::string& name) const;
  // OK: the fields into the frame, then done. Cancel: done.
  void accept();
  void cancel();
  bool done() const { return done_; }
  bool accepted() const { return accepted_; }

  // The object's bytes from a file / to a file; false when the file cannot
  // be read (or is over 16 MiB) or written.
  bool loadObject(const std::string& path);
  bool saveObject(const std::string& path) const;
  const std::vector<uint8_t>& objectData() const { return data_; }
  const DecodedPicture& preview() const { return preview_; }
  RECT previewRect() const { return previewRect_; }

  // Chooses a file for "Load object..." (save false) or "Save object..."
  // (save true); empty when cancelled. Tests replace it.
  static std::function<std::string(HWND owner, bool save, const std::string& suggested)>& fileChooser();

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
  void paintOver(HDC dc, int width, int height) override;

 private:
  void build();
  int addRow(const char* key, const char* label, int y, HWND control, int height);
  HWND addEdit(const std::string& name, const std::string& text, DWORD style);
  HWND addCombo(const std::string& name, const std::vector<std::string>& items, const std::string& text, bool list);
  void updatePreview();
  void openObject();
  void chooseAndLoad();
  void chooseAndSave();
  std::string tr(const std::string& key, const std::string& text);

  ZvId3v2Frame frame_;
  EditorContext context_;
  std::string id_;
  int kind_ = ZV_ID3_KIND_OTHER;
  std::unique_ptr<ui::WindowLng> lng_;
  std::map<std::string, HWND> fields_;
  std::vector<uint8_t> data_;
  DecodedPicture preview_;
  RECT previewRect_{};
  ChildColors colors_;
  bool done_ = false, accepted_ = false;
  int nextId_ = 100;
};

// Runs an editor until OK or Cancel, with its owner disabled. Tests replace
// the runner to drive the editor by messages instead.
using EditorRunner = std::function<bool(TFrameEditorWnd& editor, HWND owner)>;
bool runEditorModal(TFrameEditorWnd& editor, HWND owner);

// The 21 picture types of APIC frames.
const std::vector<std::string>& pictureTypeNames();

}  // namespace zv::info
