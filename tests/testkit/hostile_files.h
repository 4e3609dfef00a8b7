// Damaged and hostile files shared by the tests that feed them to the engine
// (through its exports) and to the player (through its open operation), and
// what a process holds, read from outside, to see that it gives back what a
// hostile file made it take.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zvtest {

// A file of `size` bytes that holds none: marked sparse, its end set far out.
bool makeSparseFile(const std::string& path, int64_t size);

// Every prefix of `good` whose length is a multiple of `step`, shorter than
// `good` (the empty one first).
std::vector<std::string> truncationsOf(const std::string& good, size_t step);

// `count` copies of `good`, each with one bit flipped; the bits are spread
// over the whole file by a fixed stride, so every run flips the same ones.
std::vector<std::string> bitFlipsOf(const std::string& good, size_t count);

// `good` with the 32-bit little-endian `value` written at `offset` (the
// count fields of binary formats).
std::string withInt32At(std::string good, size_t offset, int32_t value);

// Text playlists that claim enormous or negative counts and levels.
std::string enormousPls();
std::string enormousZ3u();

// A Z3U of `levels` groups, each inside the one before, with `leaf` (a media
// file name) at the deepest level.
std::string deepZ3u(int levels, const std::string& leaf);

// Writes into `dir`: "self<ext>", which lists itself under twelve spellings
// (name, full path, ".\", "..\<folder>\", upper case, "/", ...) then
// "ping<ext>" and `member`; "ping<ext>" and "pong<ext>", which
// list each other (pong also lists self). Returns the path of self<ext>.
std::string writeSelfListingPlaylists(const std::string& dir, const std::string& ext, const std::string& member);

// Writes into `dir` "chain0<ext>" .. "chain<depth><ext>": each lists the next
// twice, the last lists `member`. No cycle, yet expanding chain0 in full
// visits 2^depth playlists. Returns the path of chain0<ext>.
std::string writeDoublingChain(const std::string& dir, const std::string& ext, int depth, const std::string& member);

// What a process holds: its handles (from the system's handle table, since
// Wine answers GetProcessHandleCount with 0) and its private bytes.
struct ProcessUsage {
  DWORD handles = 0;
  SIZE_T privateBytes = 0;
};
// `process` needs PROCESS_QUERY_INFORMATION (or the limited right) and
// PROCESS_VM_READ; 0 in a field that could not be read.
ProcessUsage processUsage(DWORD pid, HANDLE process);

}  // namespace zvtest
