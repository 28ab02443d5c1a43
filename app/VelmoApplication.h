// The launcher's start-up: the application object, the two windows and the message loop.
#pragma once

#include <QUrl>

// Runs the launcher until its main window is closed and returns the process's exit code.
int RunVelmo(int& argc, char** argv, const QUrl& PageAddress);
