// Drive questions for the metadata code, which asks them for every cache
// record: the drive type of a letter is remembered for a few seconds (Wine
// answers it in about 0.3 ms, and a letter rarely changes its type), the
// volume serial is always asked afresh (the disc may have changed).
#pragma once
#include "discs/cd_drive.h"

namespace zv {

const DriveQueries& metadataDriveQueries();

}  // namespace zv
