#include "file_probe.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "av_owners.h"
#include "media_demuxer.h"
#include "source_file.h"

namespace zvvideo {

const char kVideoExtensions[] = ".mp4,.m4v,.mov,.mkv,.webm,.avi";

namespace {

// Enough of the head for every container we read to be recognised.
constexpr size_t kProbeBytes = 64 * 1024;
// Asking about a damaged file never takes longer than this.
constexpr int kCheckBudgetMs = 3000;

bool recognised(const char* fileName) {
  deckit::SourceFile file(fileName);
  if (!file.isOpen()) return false;
  std::vector<uint8_t> head(kProbeBytes + AVPROBE_PADDING_SIZE, 0);
  const size_t got = file.read(head.data(), kProbeBytes);
  if (got < 12) return false;
  AVProbeData probe{};
  probe.filename = "";  // by content only
  probe.buf = head.data();
  probe.buf_size = static_cast<int>(got);
  int score = 0;
  const AVInputFormat* format = av_probe_input_format3(&probe, 1, &score);
  return format && score > AVPROBE_SCORE_EXTENSION;
}

void copyText(char* dst, size_t size, const std::string& text) { std::snprintf(dst, size, "%s", text.c_str()); }

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return s;
}

}  // namespace

int32_t checkVideoFile(ZvFileCheckRec* rec) {
  if (!rec || !rec->fileName || !recognised(rec->fileName)) return ZV_PLUGIN_NOT_MINE;
  std::unique_ptr<MediaDemuxer> file = MediaDemuxer::open(rec->fileName, kCheckBudgetMs);
  if (!file) return ZV_PLUGIN_NOT_MINE;
  const MediaInfo& i = file->info();
  char line[256];
  if (rec->request & ZV_CHECK_TYPE_NAME) copyText(rec->typeName, sizeof(rec->typeName), "Video file");
  if (rec->request & ZV_CHECK_LENGTH) rec->lengthMs = static_cast<uint32_t>(i.lengthMs);
  if (rec->request & ZV_CHECK_FORMAT_TEXT) {
    if (i.videoStream >= 0)
      std::snprintf(line, sizeof(line), "%s %dx%d", upper(i.videoCodec).c_str(), i.width, i.height);
    else
      std::snprintf(line, sizeof(line), "%s %d Hz", upper(i.audioCodec).c_str(), i.sampleRate);
    copyText(rec->formatText, sizeof(rec->formatText), line);
  }
  if (rec->request & ZV_CHECK_INFO_TEXT) {
    std::string text = "Container: " + i.formatName + "\n";
    if (i.videoStream >= 0) {
      std::snprintf(line, sizeof(line), "Video: %s, %dx%d, %.2f fps\n", i.videoCodec.c_str(), i.width, i.height,
                    i.frameRate);
      text += line;
    }
    if (i.audioStream >= 0) {
      std::snprintf(line, sizeof(line), "Audio: %s, %d Hz, %d channels\n", i.audioCodec.c_str(), i.sampleRate,
                    i.channels);
      text += line;
    }
    std::snprintf(line, sizeof(line), "Length: %lld.%03lld s", static_cast<long long>(i.lengthMs / 1000),
                  static_cast<long long>(i.lengthMs % 1000));
    text += line;
    copyText(rec->infoText, sizeof(rec->infoText), text);
  }
  return ZV_PLUGIN_DONE;
}

}  // namespace zvvideo
