#include "startup/app_errors.h"

namespace zv {

std::string appErrorText(AppErrorPlace place, const std::string& className, const std::string& message) {
  const char* where = place == AppErrorPlace::createForm ? "Application.CreateForm" : "Application.Run";
  return std::string(where) + ": unhandled exception " + className + "\n" + message +
         "\n\nClick on OK to terminate the program";
}

std::string appExceptionLine(const std::string& className, const std::string& message) {
  return "AppEx: " + className + " [" + message + "]";
}

}  // namespace zv
