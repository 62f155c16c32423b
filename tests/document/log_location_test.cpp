#include "document/log_location.h"

#include <gtest/gtest.h>

namespace {

TEST(LogLocation, AnInstalledProgramKeepsItsLogInTheUsersDataFolder) {
  const struct {
    std::string executable;
    bool installed;
  } cases[] = {
      {"/usr/bin", true},
      {"/usr/bin/", true},
      {"/usr/local/bin", true},
      {"/opt/pelmora/bin", true},
      {"/bin", true},
      {"/home/ann/.local/bin", true},  // the prefix the build installs into
      {"/home/ann/.local/bin/../bin", true},
      {"/home/ann/src/pelmora/build/app", false},
      {"/home/ann/unpacked/usr/bin", false},  // an unpacked package is no installation
      {"/usrlocal/bin", false},
      {"/home/ann/.local", false},
  };
  for (const auto& test : cases) {
    EXPECT_EQ(IsInstalledProgramDirectory(test.executable, "/home/ann/.local/bin"), test.installed)
        << test.executable;
    const std::vector<std::string> candidates = LogDirectoryCandidates(
        test.executable, "/home/ann/.local/share/Pelmora", "/home/ann/.local/bin");
    EXPECT_EQ(candidates.front(),
              test.installed ? "/home/ann/.local/share/Pelmora" : test.executable)
        << test.executable;
  }
  // Without a data folder an installed program keeps its log in memory only.
  EXPECT_TRUE(LogDirectoryCandidates("/usr/bin", "", "").empty());
  EXPECT_EQ(LogDirectoryCandidates("/srv/pelmora", "", ""),
            std::vector<std::string>{"/srv/pelmora"});
}

}  // namespace
