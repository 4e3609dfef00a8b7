// The texts of the program's last-resort error reports: the box shown when
// creating the main window or the message loop lets an exception escape, and
// the one diagnostic line for an exception a handler did not catch.
#pragma once
#include <string>

namespace zv {

constexpr char kAppErrorTitle[] = "Zorvak - Application Error";
enum class AppErrorPlace { createForm, run };

// "Application.CreateForm: unhandled exception <class>\n<message>\n\nClick on OK to terminate the program"
std::string appErrorText(AppErrorPlace place, const std::string& className, const std::string& message);
// "AppEx: <class> [<message>]"
std::string appExceptionLine(const std::string& className, const std::string& message);

}  // namespace zv
