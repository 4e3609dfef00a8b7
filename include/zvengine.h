// The whole engine interface of zvengine.dll.
#pragma once
#include "zv_base.h"
#include "zv_paths.h"
