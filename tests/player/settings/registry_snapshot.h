// Reading a private registry tree back whole: every key path and every value
// (name and data as text) below a root, for comparing before and after.
#pragma once
#include <windows.h>

#include <map>
#include <optional>
#include <string>

namespace settingstest {

// "key\path|value name" -> data (REG_SZ as is, others as "<type>:<hex>");
// a key without values appears as "key\path|" -> "(key)".
using Snapshot = std::map<std::string, std::string>;
Snapshot snapshot(HKEY root);

// A private root under HKCU, deleted again by the destructor.
class PrivateRoot {
 public:
  explicit PrivateRoot(const std::string& name);
  ~PrivateRoot();
  HKEY get() const { return key_; }
  void put(const std::string& key, const char* name, const std::string& value) const;
  std::optional<std::string> get(const std::string& key, const char* name = nullptr) const;
  bool exists(const std::string& key) const;

 private:
  std::string path_;
  HKEY key_ = nullptr;
};

}  // namespace settingstest
