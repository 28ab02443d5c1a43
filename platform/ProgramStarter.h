// Starts a program by its path through the platform's shell and returns at once.
#pragma once

#include <QString>
#include <QtGui/qwindowdefs.h>

// Starts the program at Path with Parameters as its whole command line, in the caller's current
// directory, without waiting for it; every call starts one more instance. Returns whether the
// start was handed over; callers that must stay silent may ignore it. On Windows this is one
// ShellExecuteW call and any notice of the shell belongs to OwnerWindow. Elsewhere the program
// is started detached (never a child of the caller, so nothing is left to reap) with Parameters
// as its single argument, and OwnerWindow is not needed.
bool StartProgram(WId OwnerWindow, const QString& Path, const QString& Parameters);
