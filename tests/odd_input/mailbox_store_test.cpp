// The mailbox's registry file: polling it reads the file again only when it
// changed, and a file that grows far beyond the values it holds ends the
// mailbox with its own message instead of being read at every poll.
#include <sys/stat.h>
#include <unistd.h>

#include "odd_input/odd_input_fixture.h"
#include "platform/store.h"
#include "shell/mailbox.h"
#include "shell/state.h"
#include "support/watchdog.h"

namespace vna::test {
namespace {

using namespace std::chrono_literals;

const std::string kKey = "hkey_current_user\\software\\TARVOVNA\\";

class MailboxStoreTest : public OddInputTest {
 protected:
  testing::ScopedEnv store{"VNA_REGISTRY_FILE", dir / "registry.ini"};
};

TEST_F(MailboxStoreTest, AnUnchangedStoreIsNotReadAgain) {
  ASSERT_TRUE(StoreWrite(kKey, "dataready", "null"));
  EXPECT_EQ(StoreRead(kKey, "dataready", "x"), "null");
  const int loads = StoreLoads();
  for (int i = 0; i < 50; ++i) EXPECT_EQ(StoreRead(kKey, "dataready", "x"), "null");
  EXPECT_EQ(StoreLoads(), loads);
  // Another program's change is seen at the next read, by one load.
  dir.Write("registry.ini",
            "[HKEY_CURRENT_USER]\nsoftware\\TARVOVNA\\dataready=go\n"
            "software\\TARVOVNA\\startfreq=1.5\n");
  EXPECT_EQ(StoreRead(kKey, "dataready", "x"), "go");
  EXPECT_EQ(StoreRead(kKey, "startfreq", "x"), "1.5");
  EXPECT_EQ(StoreLoads(), loads + 1);
}

TEST_F(MailboxStoreTest, AStoreThatGrowsFarBeyondItsValuesEndsTheMailbox) {
  ASSERT_TRUE(StoreWrite(kKey, "dataready", "null"));
  regctl_mode = 2;
  // After the first poll another program fills the file with a megabyte.
  int polls = 0;
  testhook::SetPumpHook([&] {
    if (++polls == 1) {
      EXPECT_EQ(truncate((dir / "registry.ini").c_str(), 1 << 20), 0);
    }
  });
  {
    Watchdog dog(30s, "the mailbox's polling");
    RegistryControl();
  }
  testhook::SetPumpHook(nullptr);
  EXPECT_EQ(regctl_mode, 1);
  EXPECT_EQ(Boxes(),
            std::vector<std::string>{" Cannot use registry external control|The registry file "
                                     "named: " +
                                     dir / "registry.ini" +
                                     "\rIt is 1048576 bytes long, larger than the mailbox's "
                                     "registry file can be.\rExternal control is switched off."});
}

}  // namespace
}  // namespace vna::test
