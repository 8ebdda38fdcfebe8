// The one implementation of the existence test and of making sure a folder
// path exists, which both CZnFile and CZnSystem export.
#pragma once

#include "platform/String.h"

namespace zncore::detail {

// See CZnFile::FileExist.
int FileExist(const CString& file, const CString& path);
// See CZnFile::EnsurePath.
int EnsurePath(const char* path, int namesFile, int create);

}  // namespace zncore::detail
