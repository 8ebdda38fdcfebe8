// What the scan's records share: names kept one per line, and the record
// file written anew.
#pragma once

#include <string>
#include <string_view>

#include "platform/FolderHandle.h"

namespace record_text {

// Names may hold any byte but '/' and NUL; a record keeps one per line, so
// '%', CR and LF are written as %25, %0D and %0A.
std::string Escape(std::string_view name);
// The name again; false for any other '%' sequence.
bool Unescape(std::string_view text, std::string& name);

// Writes a record file anew: beside its name, readable and writable by its
// owner alone (a record holds digests of pictures others may not read, and
// names of folders they may not list), and renamed over the old one so it
// survives a power loss whole.
platform::FsStatus WriteRecord(const platform::SharedFolder& folder, const char* name, std::string_view text);

}  // namespace record_text
