#pragma once

class QString;

// What the running program tells the system about itself; process_windows.cpp
// and process_posix.cpp hold the two sides.
namespace dalvero::platform {

// Marks the program as running until it ends: on Windows a named mutex
// that the installer and uninstaller look for, so that they never replace
// or remove the files of a program that runs.
void markRunning();

// Windows shows a box of its own ("Der er ingen disk i drevet") when a call
// touches a drive without a disk; the program reports that itself, so the
// box is turned off for its one thread, which makes every such call.
void quietSystemErrorBoxes();

// Asks the system to wait with ending the session while the window
// `window` writes a file, showing `reason` (Windows lists it where it says
// what keeps it from shutting down), until releaseSessionEnd. Elsewhere the
// session manager's request alone is refused.
void holdSessionEnd(void* window, const QString& reason);
void releaseSessionEnd(void* window);

} // namespace dalvero::platform
