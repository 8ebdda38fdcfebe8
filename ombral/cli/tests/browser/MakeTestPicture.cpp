// make-test-picture PATH WIDTH HEIGHT [ORIENTATION]: writes a test picture
// for the browser test (the format by PATH's extension); a JPEG with an
// ORIENTATION also gets an EXIF block with it and a GPS position.
#include <cstdio>
#include <cstdlib>

#include "platform/testing/TestPictures.h"

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::fputs("usage: make-test-picture PATH WIDTH HEIGHT [ORIENTATION]\n", stderr);
    return 2;
  }
  const int width = std::atoi(argv[2]);
  const int height = std::atoi(argv[3]);
  if (!platform::testing::WriteTestPicture(argv[1], width, height)) return 1;
  if (argc == 5 && !platform::testing::InsertExif(argv[1], platform::testing::MakeExifTiff(std::atoi(argv[4]), true)))
    return 1;
  return 0;
}
