// configRec and its neighbours for the player's fuzz targets: the stored
// records come from the fuzzer's bytes instead of the configuration.
#pragma once
#include <cstddef>
#include <cstdint>

namespace zv::host {

// The record every configRec call sees until the next setStoredRecord.
void setStoredRecord(const uint8_t* data, size_t size);

}  // namespace zv::host
