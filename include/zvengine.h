// The whole engine interface of zvengine.dll.
#pragma once
#include "zv_base.h"
#include "zv_decoder.h"
#include "zv_plugins.h"
