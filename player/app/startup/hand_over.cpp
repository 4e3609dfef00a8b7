#include "startup/hand_over.h"

#include <cstring>

namespace zv {

std::optional<HandOver> decodeHandOver(ULONG_PTR dataWord, const void* data, DWORD size) {
  auto op = static_cast<uint16_t>(dataWord & 0xFFFF);
  auto argument = static_cast<uint16_t>((dataWord >> 16) & 0xFFFF);
  if (op < handOverBegin || op > handOverCommand) return std::nullopt;
  HandOver h{static_cast<HandOverOp>(op), argument, {}};
  if (op == handOverBegin || op == handOverEnd) return h;  // their block is not used
  if (!data || size == 0 || size > kMaxHandOverBytes) return std::nullopt;
  const char* bytes = static_cast<const char*>(data);
  const void* zero = std::memchr(bytes, 0, size);
  if (!zero) return std::nullopt;
  h.text.assign(bytes, static_cast<const char*>(zero));
  if (h.text.empty()) return std::nullopt;
  if (op == handOverAdd && h.text.size() >= MAX_PATH) return std::nullopt;
  return h;
}

std::optional<HandOver> receiveHandOver(LPARAM copyData) {
  const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(copyData);
  std::optional<HandOver> h;
  if (cds) h = decodeHandOver(cds->dwData, cds->lpData, cds->cbData);
  ReplyMessage(TRUE);  // the record belongs to the sender: copied above, released now
  return h;
}

HandOverBlock encodeHandOver(HandOverOp op, uint16_t argument, const std::string& text) {
  HandOverBlock b;
  b.dataWord = static_cast<ULONG_PTR>(op) | (static_cast<ULONG_PTR>(argument) << 16);
  if (op == handOverAdd || op == handOverCommand) b.bytes = text + '\0';
  return b;
}

std::vector<HandOverBlock> handOverForItems(const std::vector<std::string>& items, OpenMode mode) {
  auto m = static_cast<uint16_t>(mode);
  std::vector<HandOverBlock> blocks{encodeHandOver(handOverBegin, m)};
  for (const std::string& item : items) blocks.push_back(encodeHandOver(handOverAdd, m, item));
  blocks.push_back(encodeHandOver(handOverEnd, m));
  return blocks;
}

bool sendHandOver(HWND target, HWND from, const HandOverBlock& block) {
  COPYDATASTRUCT cds{};
  cds.dwData = block.dataWord;
  cds.cbData = static_cast<DWORD>(block.bytes.size());
  cds.lpData = block.bytes.empty() ? nullptr : const_cast<char*>(block.bytes.data());
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(target, WM_COPYDATA, reinterpret_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&cds),
                             SMTO_ABORTIFHUNG, 10000, &result) != 0;
}

}  // namespace zv
