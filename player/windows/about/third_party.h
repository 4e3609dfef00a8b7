// The outside code this build ships inside its files, with each licence:
// what the About window lists. The codec and tag libraries are linked
// statically into the files named; the compiler's runtime into every program.
#pragma once
#include <span>

namespace zv {

struct ThirdPartyLibrary {
  const char* name;
  const char* version;   // the Debian source package's upstream version
  const char* licence;
  const char* shippedIn;  // the files of the installed root that hold it ("plugins\flac.dec")
  // A text the shipped file holds when that library is linked into it (what
  // the tests look for); null when the library leaves no such text.
  const char* marker;
};

std::span<const ThirdPartyLibrary> thirdPartyLibraries();

}  // namespace zv
