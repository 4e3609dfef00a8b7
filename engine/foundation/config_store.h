// The configuration store: one section of plain values and named binary
// records, kept in the registry or (after setConfigMode) in "config.dat" and
// ".dat" files of the user directory. Every read has a default, every write
// swallows failures.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace zv {

bool startConfigStore();
void stopConfigStore(bool processExit);

// Reads a string setting of the current section; `def` when it is missing or
// cannot be read. No length limit (engine callers keep it as a string).
std::string configText(const char* name, std::string_view def);

// The integer read rule: decimal text of a signed 32-bit value, or "0x"/"0X"
// and hexadecimal digits (bit pattern of 32 bits, so 0xFFFFFFFF is -1);
// anything else gives `def`.
int32_t parseConfigInt(std::string_view text, int32_t def);

}  // namespace zv
