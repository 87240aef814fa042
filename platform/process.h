#pragma once

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

} // namespace dalvero::platform
