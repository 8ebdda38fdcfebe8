// ombral-icons OUTDIR: draws the program's icon into OUTDIR/<n>x<n>/apps/ombral.png
// for the sizes of the desktop's icon theme (the install puts them under
// share/icons/hicolor). Needs no display.
#include <cstdio>
#include <filesystem>
#include <string>

#include "ombral/OmbralResource.h"
#include "platform/Resource.h"
#include "platform/WinApp.h"
#include "platform/WindowImage.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: ombral-icons OUTDIR\n");
    return 2;
  }
  platform::WindowSystem windows("ombral-icons");
  const HICON icon = platform::LoadIconResource(IDR_MAINFRAME);
  if (!icon) {
    std::fprintf(stderr, "ombral-icons: the program icon is not registered\n");
    return 1;
  }
  for (const int side : {16, 32, 48, 64, 128, 256}) {
    const std::string size = std::to_string(side) + "x" + std::to_string(side);
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / size / "apps";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::string path = (folder / "ombral.png").string();
    if (!platform::SaveIconImage(icon, side, path.c_str())) {
      std::fprintf(stderr, "ombral-icons: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
