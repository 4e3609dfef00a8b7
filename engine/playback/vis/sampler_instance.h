// The thread of an `insampler` instance: records the sound card's input
// into the visualisation buffer while the sound bypasses the output library.
#pragma once
#include <windows.h>

namespace zv {

DWORD WINAPI samplerInstanceThread(void* startArgument);

}  // namespace zv
