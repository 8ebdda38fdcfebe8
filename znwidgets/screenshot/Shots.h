// The pictures of ZnWidgets' windows for the documentation, one drawing
// function per widget family. Each draws its windows into PNG files in
// `outDir` and returns false when a picture could not be written.
#pragma once

#include <string>

class CWnd;

namespace znwidgets::shots {

// Saves the window as `outDir`/`name` and prints the path; false on failure.
bool Save(const CWnd& window, const std::string& outDir, const std::string& name);

bool DrawProgressDlgShots(const std::string& outDir);
bool DrawListCtrlShots(const std::string& outDir);
bool DrawTreeCtrlShots(const std::string& outDir);

}  // namespace znwidgets::shots
