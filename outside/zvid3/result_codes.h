// The interface's result codes for the outcomes of a file write.
#pragma once
#include "tag_writer.h"
#include "zvid3.h"

namespace zvid3 {

inline int32_t resultCode(WriteStatus status) {
  switch (status) {
    case WriteStatus::ok: return ZV_ID3_OK;
    case WriteStatus::nothingToDo: return ZV_ID3_OK;
    case WriteStatus::inUse: return ZV_ID3_IO_ERROR;
    case WriteStatus::ioError: return ZV_ID3_IO_ERROR;
    case WriteStatus::badFile: return ZV_ID3_BAD_FILE;
    case WriteStatus::tagless: return ZV_ID3_NO_TAGS_HERE;
  }
  return ZV_ID3_IO_ERROR;
}

}  // namespace zvid3
