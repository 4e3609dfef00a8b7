// zvdsp.dll: sound output, equalizer and FFT used by the engine and the player.
#pragma once
#include "zv_base.h"
