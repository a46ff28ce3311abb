// Safe writes: the old file stays whole until the new one is complete.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "files/safe_write.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

using testing::TempDir;

size_t Entries(const std::string& folder) {
  return std::distance(std::filesystem::directory_iterator(folder), {});
}

TEST(SafeWrite, ReplacesOnlyWhenComplete) {
  TempDir dir;
  const std::string path = dir.Write("data.txt", "old\r\n");
  chmod(path.c_str(), 0640);
  TextFile f;
  SafeWrite w;
  ASSERT_EQ(OpenSafeWrite(w, f, path), 0);
  WriteText(f, "new");
  // Until the commit the old file is what a reader sees.
  EXPECT_EQ(dir.Read("data.txt"), "old\r\n");
  EXPECT_EQ(Entries(dir.path()), 2u);
  ASSERT_TRUE(CommitSafeWrite(w, f));
  EXPECT_EQ(dir.Read("data.txt"), "new\r\n");
  EXPECT_EQ(Entries(dir.path()), 1u);
  struct stat st {};
  stat(path.c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0640u);  // the file keeps its permissions
  EXPECT_FALSE(f.IsOpen());

  // Abandoned: the old file stays, the temporary one goes.
  ASSERT_EQ(OpenSafeWrite(w, f, path), 0);
  WriteText(f, "half");
  AbandonSafeWrite(w, f);
  EXPECT_EQ(dir.Read("data.txt"), "new\r\n");
  EXPECT_EQ(Entries(dir.path()), 1u);
}

TEST(SafeWrite, WritesThroughALink) {
  TempDir dir;
  const std::string target = dir.Write("real.ini", "old");
  const std::string link = dir / "link.ini";
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  TextFile f;
  SafeWrite w;
  ASSERT_EQ(OpenSafeWrite(w, f, link), 0);
  WriteText(f, "new");
  ASSERT_TRUE(CommitSafeWrite(w, f));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(dir.Read("real.ini"), "new\r\n");
}

TEST(SafeWrite, RefusesWhatMayNotBeWritten) {
  TempDir dir;
  TextFile f;
  SafeWrite w;
  EXPECT_EQ(OpenSafeWrite(w, f, dir.path()), 1);  // a folder
  EXPECT_EQ(w.error, "it is a folder");
  EXPECT_EQ(OpenSafeWrite(w, f, dir / "missing/x.txt"), 1);
  EXPECT_EQ(OpenSafeWrite(w, f, ""), 1);
  EXPECT_FALSE(f.IsOpen());
  EXPECT_EQ(Entries(dir.path()), 0u);
}

}  // namespace
}  // namespace vna
