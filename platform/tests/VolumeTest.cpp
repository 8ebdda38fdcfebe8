#include "platform/Volume.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/Drives.h"
#include "platform/testing/TempDrive.h"
#include "posix/SysCalls.h"

using platform::testing::TempDrive;

namespace {

class SysCallPatch {
public:
  ~SysCallPatch() { platform::posix::ResetSysCalls(); }
};

long g_fileSystemType = 0;
int FakeStatfs(const char*, struct statfs* status) {
  std::memset(status, 0, sizeof *status);
  status->f_type = g_fileSystemType;
  return 0;
}

// A disk of 8 TiB with 4 KiB blocks, a quarter of it free.
int FakeStatvfs(const char*, struct statvfs* status) {
  std::memset(status, 0, sizeof *status);
  status->f_frsize = status->f_bsize = 4096;
  status->f_blocks = (std::uint64_t{8} << 40) / 4096;
  status->f_bfree = status->f_bavail = status->f_blocks / 4;
  return 0;
}

}  // namespace

TEST(Volume, DriveStringsListEveryMappedDrive) {
  TempDrive t('T');
  char buffer[200];
  std::memset(buffer, '#', sizeof buffer);
  const DWORD needed = GetLogicalDriveStringsA(0, nullptr);
  EXPECT_EQ(GetLogicalDriveStringsA(3, buffer), needed);
  EXPECT_EQ(buffer[0], '#');  // too small: nothing written
  const DWORD length = GetLogicalDriveStringsA(sizeof buffer, buffer);
  EXPECT_EQ(length + 1, needed);
  const std::string list(buffer, length + 1);
  EXPECT_NE(list.find(std::string("C:\\\0", 4)), std::string::npos);
  EXPECT_NE(list.find(std::string("T:\\\0", 4)), std::string::npos);
  EXPECT_EQ(buffer[length], '\0');
  EXPECT_EQ(buffer[length + 1], '#');
  EXPECT_EQ(GetLogicalDrives() & ((1u << 2) | (1u << 19)), (1u << 2) | (1u << 19));
}

TEST(Volume, DriveTypesFromTheFileSystemKind) {
  TempDrive drive('T');
  SysCallPatch patch;
  platform::posix::Sys().statfs = FakeStatfs;
  const struct {
    long type;
    UINT expected;
  } rows[] = {
      {0xEF53, DRIVE_FIXED},        {0x6969, DRIVE_REMOTE},   {0xFF534D42, DRIVE_REMOTE},
      {0x9660, DRIVE_CDROM},        {0x15013346, DRIVE_CDROM}, {0x01021994, DRIVE_RAMDISK},
      {0x858458F6, DRIVE_RAMDISK},  {0x12345678, DRIVE_FIXED},
  };
  for (const auto& row : rows) {
    g_fileSystemType = row.type;
    EXPECT_EQ(GetDriveTypeA("T:\\"), row.expected) << std::hex << row.type;
  }
}

TEST(Volume, DrivesWithoutAFolderHaveNoRoot) {
  TempDrive drive('T');
  drive.WriteFile("file");
  platform::MapDrive('U', drive.Native("gone"));
  platform::MapDrive('V', drive.Native("file"));
  EXPECT_EQ(GetDriveTypeA("U:\\"), DRIVE_NO_ROOT_DIR);
  EXPECT_EQ(GetDriveTypeA("V:\\"), DRIVE_NO_ROOT_DIR);
  EXPECT_EQ(GetDriveTypeA("Q:\\"), DRIVE_NO_ROOT_DIR);
  EXPECT_EQ(GetDriveTypeA("T:"), GetDriveTypeA("T:\\"));
  EXPECT_NE(GetDriveTypeA(nullptr), DRIVE_NO_ROOT_DIR);
  platform::UnmapDrive('U');
  platform::UnmapDrive('V');
}

TEST(Volume, LabelFromTheDriveTableCutToTheBuffer) {
  TempDrive drive('T');
  platform::MapDrive('T', drive.Folder(), "PHOTOS\xC3\xA4");
  char label[16];
  std::memset(label, '#', sizeof label);
  DWORD serial = 0, component = 0, flags = 0;
  ASSERT_TRUE(GetVolumeInformationA("T:\\", label, sizeof label, &serial, &component, &flags, nullptr, 0));
  EXPECT_STREQ(label, "PHOTOS\xC3\xA4");
  EXPECT_EQ(component, 255u);
  std::memset(label, '#', sizeof label);
  ASSERT_TRUE(GetVolumeInformationA("T:\\", label, 8, nullptr, nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(std::string(label, 9), std::string("PHOTOS\0##", 9));  // never half a character
  ASSERT_TRUE(GetVolumeInformationA(drive.Folder().c_str(), label, sizeof label, nullptr, nullptr, nullptr,
                                    nullptr, 0));
  EXPECT_STREQ(label, "PHOTOS\xC3\xA4");
  platform::MapDrive('T', drive.Folder());
  ASSERT_TRUE(GetVolumeInformationA("T:\\", label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0));
  EXPECT_STREQ(label, "");
  std::memset(label, '#', sizeof label);
  EXPECT_FALSE(GetVolumeInformationA("Q:\\", label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(label[0], '#');
}

TEST(Volume, DiskSpaceMatchesTheFileSystem) {
  TempDrive drive('T');
  ULONGLONG total = 0, free = 0, available = 0;
  ASSERT_TRUE(GetDiskFreeSpaceExA("T:\\", &available, &total, &free));
  const auto space = std::filesystem::space(drive.Folder());
  EXPECT_EQ(total, space.capacity);
  DWORD sectors = 0, bytes = 0, freeClusters = 0, clusters = 0;
  ASSERT_TRUE(GetDiskFreeSpaceA("T:\\", &sectors, &bytes, &freeClusters, &clusters));
  EXPECT_EQ(ULONGLONG{sectors} * bytes * clusters, total);  // exact below 16 TiB of 4 KiB blocks
  EXPECT_FALSE(GetDiskFreeSpaceA("Q:\\", &sectors, &bytes, &freeClusters, &clusters));
}

TEST(Volume, HugeDisksKeepTheirClusterCountsIn32Bits) {
  TempDrive drive('T');
  SysCallPatch patch;
  platform::posix::Sys().statvfs = FakeStatvfs;
  DWORD sectors = 0, bytes = 0, freeClusters = 0, clusters = 0;
  ASSERT_TRUE(GetDiskFreeSpaceA("T:\\", &sectors, &bytes, &freeClusters, &clusters));
  EXPECT_EQ(bytes, 512u);
  EXPECT_EQ(ULONGLONG{sectors} * bytes * clusters, std::uint64_t{8} << 40);
  EXPECT_EQ(ULONGLONG{sectors} * bytes * freeClusters, std::uint64_t{2} << 40);
  ULONGLONG total = 0;
  ASSERT_TRUE(GetDiskFreeSpaceExA("T:\\", nullptr, &total, nullptr));
  EXPECT_EQ(total, std::uint64_t{8} << 40);
}
