// The scheduled start that wakes the computer for the on timer, kept by the
// outside library zvsched.dll ("add" and "del", loaded by name when needed).
#pragma once
#include <string>

namespace zv::timer {

class SchedulerPort {
 public:
  virtual ~SchedulerPort() = default;
  // False when the library or the export could not be loaded (the caller
  // shows "Error loading zvsched.dll"); the export's own answer is only
  // logged.
  virtual bool add(const std::string& date, const std::string& time, const std::string& program) = 0;
  virtual bool del() = 0;
};

// Loads `library` (by default "zvsched.dll", found the way the system finds
// a library by name) for each call and frees it afterwards.
class ZvSchedLibrary final : public SchedulerPort {
 public:
  explicit ZvSchedLibrary(std::string library = "zvsched.dll") : library_(std::move(library)) {}
  bool add(const std::string& date, const std::string& time, const std::string& program) override;
  bool del() override;

 private:
  std::string library_;
};

}  // namespace zv::timer
