// The thread of one video input instance: it opens a video file, answers the
// stream messages as the decode kind does (open, play, stop, seek, close with
// fades), feeds the sound to an output-library stream and shows each picture
// when the sound's clock reaches its time, in the window and rectangle the
// video window gives (msgInSetVideo, msgInSetVideoRect, msgInVideoAdjust).
#pragma once
#include <windows.h>

namespace zvvideo {

// The thread function; `start` is a VideoInstanceStart.
DWORD WINAPI videoInstanceThread(void* start);

struct VideoInstanceStart {
  HANDLE ready;  // set once the thread's message queue exists
};

}  // namespace zvvideo
