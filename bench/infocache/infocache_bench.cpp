// The information cache across many folders: one "zvcache" file per media
// folder, 16 of them open at a time. Two records for each of two files in
// every one of 10 000 folders are written (each folder's file is written
// back when it leaves the table) and then read back (each file loaded
// again); each figure per record beside the same work over 1 000 folders,
// so that growth with the number of folders shows.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "benchkit.h"
#include "zv_config.h"
#include "zv_infocache.h"
#include "zv_plugins.h"

namespace {

using zvbench::removeTree;

struct Figures {
  double write = 0, read = 0;  // seconds per record
  int wrong = 0;
};

// Folders with two (absent) media files each; records "DESC" and "INFO".
Figures run(const std::string& root, int folders) {
  removeTree(root);
  CreateDirectoryA(root.c_str(), nullptr);
  std::vector<std::string> files;
  for (int d = 0; d < folders; ++d) {
    std::string dir = root + "\\album" + std::to_string(d);
    CreateDirectoryA(dir.c_str(), nullptr);
    files.push_back(dir + "\\01 first.mp3");
    files.push_back(dir + "\\02 second.mp3");
  }
  const double records = double(files.size()) * 2;
  Figures f;
  double t0 = zvbench::now();
  for (const std::string& file : files) {
    setCacheRec(file.c_str(), "DESC", file.c_str() + root.size());
    setCacheRec(file.c_str(), "INFO", "format=MPEG 1 Layer 3\nbitrate=192 kbit/s\nfrequency=44100 Hz");
  }
  double t1 = zvbench::now();
  char buffer[512];
  for (const std::string& file : files) {
    cacheRec(file.c_str(), "DESC", buffer, sizeof(buffer) - 1);
    if (std::strcmp(buffer, file.c_str() + root.size()) != 0) ++f.wrong;
    cacheRec(file.c_str(), "INFO", buffer, sizeof(buffer) - 1);
  }
  double t2 = zvbench::now();
  f.write = (t1 - t0) / records;
  f.read = (t2 - t1) / records;
  return f;
}

}  // namespace

int main() {
  setConfigMode("zvbench_infocache", 0);
  initPlugins();
  std::string root = zvbench::workDir() + "\\infocache";
  Figures small = run(root, 1000);
  Figures big = run(root, 10000);
  zvbench::report("setCacheRec, 10000 folders x 2 files x 2 records", big.write * 1e6, "us/record");
  zvbench::report("cacheRec, the same records", big.read * 1e6, "us/record");
  zvbench::report("setCacheRec per record, 10000 / 1000 folders", big.write / small.write, "x");
  zvbench::report("cacheRec per record, 10000 / 1000 folders", big.read / small.read, "x");
  if (small.wrong + big.wrong) zvbench::report("RECORDS READ BACK WRONG", small.wrong + big.wrong, "records");
  freePlugins();
  removeTree(root);
  return 0;
}
