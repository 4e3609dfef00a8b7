// The engine's diagnostic output and the guard that keeps exceptions inside
// every export: a console window allocated on demand plus the debugger output.
#pragma once
#include <exception>
#include <typeinfo>

namespace zv {

// Writes one line to the debug console (opened on first use) and the text
// plus a line feed to the debugger output. Any thread.
void debugWriteLine(const char* text);

// printf-style debugWriteLine; the line is cut at 1023 bytes.
void debugWriteLinef(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The exception diagnostic: "<operation>: <class name> [<message>]".
void writeExceptionDiagnostic(const char* operation, const char* className, const char* message);

// The window exception hook of the engine's windows (win32/window_base.h):
// the exception diagnostic headed by the window class. Called inside the
// window procedure's catch block, where the exception's type is known.
void writeWindowException(const char* className, const char* what);

// Runs body() and returns its result; an exception is written as the
// exception diagnostic under `operation` and `fallback` is returned instead.
// Every export that can throw runs its work through this.
template <class T, class Body>
T guarded(const char* operation, T fallback, Body&& body) noexcept {
  try {
    return body();
  } catch (const std::exception& e) {
    writeExceptionDiagnostic(operation, typeid(e).name(), e.what());
  } catch (...) {
    writeExceptionDiagnostic(operation, "unknown", "");
  }
  return fallback;
}

// The same for bodies without a result.
template <class Body>
void guardedVoid(const char* operation, Body&& body) noexcept {
  try {
    body();
  } catch (const std::exception& e) {
    writeExceptionDiagnostic(operation, typeid(e).name(), e.what());
  } catch (...) {
    writeExceptionDiagnostic(operation, "unknown", "");
  }
}

}  // namespace zv
