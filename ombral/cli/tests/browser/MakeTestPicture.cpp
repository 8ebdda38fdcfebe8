// make-test-picture PATH WIDTH HEIGHT [ORIENTATION]: writes a test picture
// for the browser test (the format by PATH's extension); a JPEG with an
// ORIENTATION also gets an EXIF block with it and a GPS position.
// make-test-picture PATH WIDTH HEIGHT exif TAKEN MAKE MODEL: a JPEG whose
// EXIF block names the date taken ("YYYY:MM:DD HH:MM:SS") and the camera.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/testing/TestPictures.h"

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5 && !(argc == 8 && std::string(argv[4]) == "exif")) {
    std::fputs("usage: make-test-picture PATH WIDTH HEIGHT [ORIENTATION | exif TAKEN MAKE MODEL]\n", stderr);
    return 2;
  }
  const int width = std::atoi(argv[2]);
  const int height = std::atoi(argv[3]);
  if (!platform::testing::WriteTestPicture(argv[1], width, height)) return 1;
  if (argc == 8)
    return platform::testing::InsertExif(argv[1], platform::testing::MakeExifTiff(argv[5], argv[6], argv[7])) ? 0 : 1;
  if (argc == 5 && !platform::testing::InsertExif(argv[1], platform::testing::MakeExifTiff(std::atoi(argv[4]), true)))
    return 1;
  return 0;
}
