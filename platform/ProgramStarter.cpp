#include "ProgramStarter.h"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>

namespace {
// ShellExecuteW reports success with a value above 32.
constexpr INT_PTR kShellExecuteFirstSuccess = 33;
}  // namespace

bool StartProgram(WId OwnerWindow, const QString& Path, const QString& Parameters) {
  const HINSTANCE result = ShellExecuteW(reinterpret_cast<HWND>(OwnerWindow), L"Open",
                                         reinterpret_cast<LPCWSTR>(Path.utf16()),
                                         reinterpret_cast<LPCWSTR>(Parameters.utf16()), nullptr,
                                         SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) >= kShellExecuteFirstSuccess;
}

#else
#include <QProcess>

bool StartProgram(WId, const QString& Path, const QString& Parameters) {
  // startDetached forks twice: the program is adopted by init, never our child, and its
  // working directory is ours because none is given.
  return QProcess::startDetached(Path, {Parameters});
}
#endif
