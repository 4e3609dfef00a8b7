// The whole engine interface of zvengine.dll.
#pragma once
#include "zv_base.h"
#include "zv_paths.h"
#include "zv_decoder.h"
#include "zv_plugins.h"
#include "zv_playback.h"
#include "zv_vis.h"
#include "zv_mixer.h"
#include "zv_desc.h"
#include "zv_infocache.h"
#include "zv_cddb.h"
