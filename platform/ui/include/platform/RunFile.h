// Running a file by its path, never through a shell: the path is one file
// name, blanks, semicolons and every other character included ("a b;rm -rf
// x" names one file), and nothing in it is ever parsed as a command line.
//
//  - An executable regular file is started as a program: the path is the
//    program and its only argument (its name); it runs in the current
//    directory, on its own, and is not waited for.
//  - Any other existing file or folder is opened with its associated
//    program through the shell's "open" (ShellExecute, Shell.h), so the
//    installed shell handler decides (tests install a recording one).
#pragma once

#include "platform/Shell.h"

// Returns a value above 32 when the program was started or the document
// opened, else the failure: SE_ERR_FNF (2) for a missing file, SE_ERR_PNF
// (3) for a missing folder on the way or an unmapped drive, SE_ERR_ACCESSDENIED
// (5), SE_ERR_BADFORMAT (11) for an executable the system cannot run,
// SE_ERR_OOM (0) when no process could be made, or what ShellExecute
// answers for a document. `show` is passed on to the shell.
int RunFile(HWND owner, const char* path, int show);
