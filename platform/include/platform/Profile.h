// Reading INI files ("profiles"): sections in square brackets, name=value
// lines, with the rules of the original system's reader:
//  - section and key names match without regard to ASCII case;
//  - blanks and tabs around names and values are dropped;
//  - the first section of a name wins (a later section of the same name is
//    not searched), and within it the first key of a name;
//  - lines without "=" inside a section, lines before the first section,
//    empty lines and lines starting with ";" are ignored;
//  - CR LF and LF line ends both work; a UTF-8 byte-order mark is skipped;
//  - a value enclosed in matching double or single quotes loses them.
// A line is read up to its first zero byte and up to 65,535 bytes; the rest
// of such a line is ignored. A missing or unreadable file reads as empty.
// No call ever writes more than `size` bytes into the caller's buffer.
#pragma once

#include "platform/WinTypes.h"

// The value of `key` in `section` of `file`, cut to size - 1 bytes, with its
// terminator; returns the bytes copied. When the key or the file is missing
// the default is copied instead (null counts as "", trailing blanks are
// dropped). A null section gives the names of all sections, a null key the
// names of the section's keys, each as a list (see below).
// Lists are zero-terminated texts one after the other, ended by a second
// zero; the result counts the bytes without the final zero. A list that does
// not fit is cut and ends with two zeros; the result is then size - 2.
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                               LPCSTR file);
// The names of all sections, in file order, as a list.
DWORD GetPrivateProfileSectionNamesA(LPSTR buffer, DWORD size, LPCSTR file);
// All entries of the first section of that name as a list of "name=value"
// texts (names and values without their surrounding blanks, quotes kept).
DWORD GetPrivateProfileSectionA(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR file);
