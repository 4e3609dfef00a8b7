// zvid3.dll: ID3v1 and ID3v2 tags for the engine and the player.
#pragma once
#include "zv_base.h"
