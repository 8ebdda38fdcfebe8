// The C run-time's file access test, folder creation and current drive,
// over the drive table (see Drives.h). Drive numbers count from 1 (A = 1).
#pragma once

// 0 when the path exists and the process may use it as `mode` asks: 0
// exists, 2 write, 4 read, 6 read and write; else -1 with errno set.
// Permissions are those of the process's effective user.
int _access(const char* path, int mode);
// Creates one folder; 0 on success, else -1 with errno set (EEXIST when the
// name is taken).
int _mkdir(const char* path);
// The number of the drive that holds the current directory; 0 when no
// mapped drive does.
int _getdrive();
// Makes a drive current: the process changes to the folder it last used on
// that drive (still there and still on it), else to the drive's root. 0 on
// success; -1 when the number names no mapped drive or its folder cannot be
// entered, and then the current directory stays as it was.
int _chdrive(int drive);
