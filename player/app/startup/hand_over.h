// The hand-over protocol of the running copy: WM_COPYDATA to the window of
// class "ZVWindow", the operation in the low 16 bits of the data word, its
// argument in the high 16 bits, and where used a zero-terminated text.
// Decoding copies what it keeps, so the window can reply to the sender
// (ReplyMessage) before it acts: a box the command opens never holds the
// sending program.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "zv_playback.h"

namespace zv {

constexpr char kMainWindowClass[] = "ZVWindow";

enum HandOverOp : uint16_t {
  handOverBegin = 4660,    // begin an open operation; argument OpenMode
  handOverAdd = 4661,      // one item (path); argument OpenMode
  handOverEnd = 4662,      // end the open operation; argument OpenMode
  handOverCommand = 4663   // run a command; argument its source
};

// A text block larger than this is no command or path of ours.
constexpr size_t kMaxHandOverBytes = 32768;

struct HandOver {
  HandOverOp op;
  uint16_t argument;
  std::string text;  // the item or command; empty for begin and end
};

// Nullopt (ignore the message) for an unknown operation, for a text block
// that is missing, larger than kMaxHandOverBytes or not zero-terminated within
// its length, and for an item longer than a path may be.
std::optional<HandOver> decodeHandOver(ULONG_PTR dataWord, const void* data, DWORD size);

// For the main window's WM_COPYDATA: decodes the record at `copyData` and
// then releases the sender (ReplyMessage), so that whatever the window does
// next (a box, a dialog) never holds the sending program.
std::optional<HandOver> receiveHandOver(LPARAM copyData);

// A block for SendMessage(WM_COPYDATA): the data word and the text with its zero.
struct HandOverBlock {
  ULONG_PTR dataWord = 0;
  std::string bytes;  // empty for begin and end
};
HandOverBlock encodeHandOver(HandOverOp op, uint16_t argument, const std::string& text = "");
// What a sender (the launcher) sends for a command line: begin, one add per item, end.
std::vector<HandOverBlock> handOverForItems(const std::vector<std::string>& items, OpenMode mode);
// Sends one block to `target` and waits for it to be taken; false when the window did not answer.
bool sendHandOver(HWND target, HWND from, const HandOverBlock& block);

}  // namespace zv
