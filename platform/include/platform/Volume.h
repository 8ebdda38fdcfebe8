// Drives as the original system's volume services report them, over the
// drive table (see Drives.h): the list of drive roots, a drive's kind, its
// label and its space.
//
// A root is given as "X:\" (or "X:", "X:/"); a null root means the current
// drive. Other path spellings the drive table accepts name the folder
// directly (its label is then the label of a drive mapped to exactly that
// folder, else empty).
//
// Drive kinds on POSIX, decided from the file system that holds the drive's
// folder: tmpfs and ramfs are RAM disks; ISO 9660 and UDF are CD-ROMs; NFS,
// SMB/CIFS, Coda, AFS, Ceph and 9P are remote; every other file system is a
// fixed disk. A letter that is not mapped, or whose folder is missing, has
// no root directory. POSIX cannot tell a removable disk from a fixed one.
#pragma once

#include "platform/WinTypes.h"

inline constexpr UINT DRIVE_UNKNOWN = 0;
inline constexpr UINT DRIVE_NO_ROOT_DIR = 1;
inline constexpr UINT DRIVE_REMOVABLE = 2;
inline constexpr UINT DRIVE_FIXED = 3;
inline constexpr UINT DRIVE_REMOTE = 4;
inline constexpr UINT DRIVE_CDROM = 5;
inline constexpr UINT DRIVE_RAMDISK = 6;

// Flags of GetVolumeInformationA.
inline constexpr DWORD FILE_CASE_SENSITIVE_SEARCH = 0x01;
inline constexpr DWORD FILE_CASE_PRESERVED_NAMES = 0x02;

// The roots of all mapped drives ("C:\", "T:\", ...) as a list of
// zero-terminated texts ended by a second zero; returns the length without
// the final zero. When the list does not fit in `size` bytes nothing is
// written and the result is the size it needs.
DWORD GetLogicalDriveStringsA(DWORD size, LPSTR buffer);
// Bit 0 for A:, bit 1 for B:, ... for every mapped drive.
DWORD GetLogicalDrives();
// One of the DRIVE_* kinds above.
UINT GetDriveTypeA(LPCSTR root);

// The label of the drive (cut to fit `labelSize` bytes with its terminator),
// a serial number, the longest file-name component, the flags above and the
// file system's name (cut likewise). Any output may be null. FALSE, with
// nothing written, when the folder does not exist.
BOOL GetVolumeInformationA(LPCSTR root, LPSTR label, DWORD labelSize, DWORD* serialNumber,
                           DWORD* maxComponentLength, DWORD* fileSystemFlags, LPSTR fileSystemName,
                           DWORD fileSystemNameSize);
// The space of the drive in clusters: sectors per cluster, bytes per
// sector, free clusters (free for an unprivileged user) and all clusters.
// The cluster size is chosen so that both counts fit in 32 bits; any output
// may be null. FALSE when the folder's file system cannot be asked.
BOOL GetDiskFreeSpaceA(LPCSTR root, DWORD* sectorsPerCluster, DWORD* bytesPerSector, DWORD* freeClusters,
                       DWORD* totalClusters);
// The same in bytes, 64-bit: free for the caller, total and free in all.
BOOL GetDiskFreeSpaceExA(LPCSTR root, ULONGLONG* freeForCaller, ULONGLONG* totalBytes, ULONGLONG* freeBytes);
