// The folder tree the dialog tests scan: T:\Pics with a folder A holding two
// pictures (1000 and 3000 bytes) and a folder B without any.
#pragma once

#include "platform/testing/TempDrive.h"

inline void MakePictureTree(const platform::testing::TempDrive& drive) {
  drive.WriteSizedFile("Pics/A/a.jpg", 1000);
  drive.WriteSizedFile("Pics/A/b.jpg", 3000);
  drive.WriteFile("Pics/B/readme.txt", "text");
}
