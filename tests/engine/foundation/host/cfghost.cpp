// zvtest_cfghost dirs     writes a value and a record in file backing
// zvtest_cfghost section  exits with configInt("probe", 99) of the start-up section
#include <cstring>

#include "zv_config.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  if (std::strcmp(argv[1], "dirs") == 0) {
    setConfigMode("zvhost", -1);
    setConfigString("probe", "written");
    setConfigRec("hostrec", "abc", 3);
    return 0;
  }
  if (std::strcmp(argv[1], "section") == 0) return configInt("probe", 99);
  return 2;
}
