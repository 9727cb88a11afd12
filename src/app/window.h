// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window's start: the application with its display, Qt's German texts,
// the main window, its shutdown signals and the event loop. main() calls it
// once the command line has nothing to answer; it returns the exit status.
//
// Where Qt is a shared library, this lives in the module barovista-window.so
// beside the program's private files, which main() loads only when a window
// is to open: the command line then maps QtCore alone, none of Qt Gui, Qt
// Widgets, the display's or the fonts' libraries. The one static Windows
// program links it in directly.

#ifdef BAROVISTA_WINDOW_MODULE_BUILD
#define BAROVISTA_WINDOW_ENTRY __attribute__((visibility("default")))
#else
#define BAROVISTA_WINDOW_ENTRY
#endif

// The module's one exported name, looked up by main().
#define BAROVISTA_WINDOW_ENTRY_NAME "barovista_run_window"

extern "C" BAROVISTA_WINDOW_ENTRY int barovista_run_window(int *argc, char **argv);
