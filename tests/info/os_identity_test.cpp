#include "info/os_identity.h"
#include "info/system_facts.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/temp_folder.h"

namespace velora {
namespace {

OsIdentity Identify(const std::string& file, const std::string& kernel = "6.1.0-28-amd64") {
  std::ifstream in(std::string(VELORA_OS_RELEASE_DIR) + "/" + file);
  std::ostringstream text;
  text << in.rdbuf();
  EXPECT_FALSE(text.str().empty()) << file;
  return OsIdentityFrom(ParseOsRelease(text.str()), kernel);
}

struct Expected {
  const char* file;
  const char* name;
  const char* edition;
  const char* servicePack;
};

TEST(OsIdentity, RecordedDistributions) {
  const Expected cases[] = {
      {"debian-12", "Debian GNU/Linux", "", "12 (bookworm)"},
      {"ubuntu-24.04", "Ubuntu", "", "24.04.1 LTS (Noble Numbat)"},
      {"fedora-41-workstation", "Fedora Linux", "Workstation Edition", "41 (Workstation Edition)"},
      // Rolling releases: no VERSION; Arch has only a build id, Tumbleweed a dated VERSION_ID
      // (its VERSION line is a comment).
      {"arch", "Arch Linux", "", "rolling"},
      {"opensuse-tumbleweed", "openSUSE Tumbleweed", "", "20241205"},
      {"alpine-3.20", "Alpine Linux", "", "3.20.3"},
      {"quoted-and-escaped", "Velora \\Test OS", "Lab Edition", "2 \"Quoted\" \\ $HOME `tick`"},
  };
  for (const Expected& c : cases) {
    const OsIdentity os = Identify(c.file);
    EXPECT_EQ(os.name, c.name) << c.file;
    EXPECT_EQ(os.edition, c.edition) << c.file;
    EXPECT_EQ(os.servicePack, c.servicePack) << c.file;
    EXPECT_EQ(os.displayName, std::string(c.name) + " " + c.servicePack) << c.file;
  }
}

TEST(OsIdentity, KernelVersionAndBuild) {
  OsIdentity os = Identify("debian-12", "6.1.0-28-amd64");
  EXPECT_EQ(os.version, "6.1");
  EXPECT_EQ(os.build, "6.1.0-28-amd64");
  os = Identify("arch", "6.12.4-arch1-1");
  EXPECT_EQ(os.version, "6.12");
  os = Identify("arch", "");
  EXPECT_EQ(os.version, "");
  EXPECT_EQ(os.build, "");
}

TEST(OsIdentity, MissingFilesGiveLinuxAndTheUsrLibCopyIsTheFallback) {
  testing::TempFolder root;
  OsIdentity os = IdentifyOperatingSystem(root.path());
  EXPECT_EQ(os.name, "Linux");
  EXPECT_EQ(os.servicePack, "");
  EXPECT_EQ(os.displayName, "Linux") << "no blank after the name without a service pack";
  testing::WriteText(root.file("usr/lib/os-release"), "NAME=Fallback\nVERSION_ID=7\n");
  os = IdentifyOperatingSystem(root.path());
  EXPECT_EQ(os.displayName, "Fallback 7");
  testing::WriteText(root.file("etc/os-release"), "NAME=\"First\"\n");
  EXPECT_EQ(IdentifyOperatingSystem(root.path()).name, "First");
}

// A recorded tree is another machine: its kernel and host are the ones it names, and nothing of
// who runs this program here stands in for what it did not record.
TEST(OsIdentity, RecordedTreeNamesItsOwnKernelAndHost) {
  testing::TempFolder root;
  EXPECT_EQ(IdentifyOperatingSystem(root.path()).build, "");
  FixedSystemFacts facts = ReadFixedSystemFacts(root.path());
  EXPECT_EQ(facts.machineName, "");
  testing::WriteText(root.file("proc/sys/kernel/osrelease"), "5.15.0-91-generic\n");
  testing::WriteText(root.file("proc/sys/kernel/hostname"), "desk\n");
  const OsIdentity os = IdentifyOperatingSystem(root.path());
  EXPECT_EQ(os.build, "5.15.0-91-generic");
  EXPECT_EQ(os.version, "5.15");
  facts = ReadFixedSystemFacts(root.path());
  EXPECT_EQ(facts.machineName, "desk");
  EXPECT_EQ(facts.userName, "");
  EXPECT_EQ(facts.homeDirectory, "");
  EXPECT_EQ(facts.libraryDirectory, "");
  EXPECT_FALSE(ReadFixedSystemFacts().userName.empty()) << "this machine's own still has them";
}

}  // namespace
}  // namespace velora
