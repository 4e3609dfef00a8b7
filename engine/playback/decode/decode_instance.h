// The thread of a `decode` instance: it opens a file through a decoder
// library and feeds an output-library stream while the owner controls it
// with posted messages.
#pragma once
#include <windows.h>

namespace zv {

DWORD WINAPI decodeInstanceThread(void* startArgument);

}  // namespace zv
