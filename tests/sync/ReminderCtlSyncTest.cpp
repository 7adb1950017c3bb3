// reminderctl sync as a user runs it: two data files and a real server. Its messages
// are UTF-8, as on a terminal.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>
#include <string>

#include "core/cli/ReminderCtl.h"
#include "sync/SyncSupport.h"
#include "tools/net/CurlHttpClient.h"

namespace reminder {
namespace {

class ReminderCtlSync : public ::testing::Test {
 protected:
  void SetUp() override {
    server = testing::TestServer();
    ASSERT_FALSE(server.empty()) << "scripts/test.sh starts a server";
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  int Run(std::vector<std::string> args) {
    std::ostringstream outStream;
    std::ostringstream errStream;
    TCtlEnvironment env{clock, files, localTime, [](const std::string&) { return false; },
                        (dir / "Reminder.dat").string()};
    env.Http = [](const std::string& user, const std::string& password) {
      return std::make_unique<TCurlHttpClient>(user, password, 5000);
    };
    env.Variable = [this](const char*) -> std::optional<std::string> { return password; };
    env.IsPrivateFile = [this](const std::string&) { return passwordFilePrivate; };
    const int code = RunReminderCtl(args, outStream, errStream, env);
    out = outStream.str();
    err = errStream.str();
    return code;
  }
  std::string File(const char* name) { return (dir / name).string(); }

  const std::string user = "ctl" + std::to_string(std::random_device()());
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / user;
  std::string server;
  TSystemClock clock;
  TSystemLocalTime localTime;
  TStdDataFile files;
  std::optional<std::string> password;
  bool passwordFilePrivate = true;
  std::string out;
  std::string err;
};

TEST_F(ReminderCtlSync, TwoFilesAgreeThroughTheServerAndFailuresChangeNothing) {
  ASSERT_EQ(Run({"add", "--file", File("a.dat"), "--text", "Zahnarzt", "--date", "15.01.2027"}), 0)
      << err;
  const std::vector<std::string> sync = {"sync", "--url", server, "--user", user};
  auto syncOf = [&](const char* file) {
    std::vector<std::string> args = sync;
    args.insert(args.end(), {"--file", File(file)});
    return args;
  };
  ASSERT_EQ(Run(syncOf("a.dat")), 0) << err;
  EXPECT_NE(err.find("Kalender \"Erinnerungen\" angelegt"), std::string::npos) << err;
  EXPECT_NE(err.find("hochgeladen: \"Zahnarzt\""), std::string::npos) << err;
  std::vector<std::string> json = syncOf("b.dat");
  json.push_back("--json");
  ASSERT_EQ(Run(json), 0) << err;
  EXPECT_NE(out.find("\"downloaded\":1,"), std::string::npos) << out;
  ASSERT_EQ(Run({"list", "--file", File("b.dat")}), 0);
  EXPECT_NE(out.find("\tZahnarzt\t"), std::string::npos) << out;

  // The password file must be the user's own; the server must be there; neither failure
  // touches the data file.
  ASSERT_EQ(Run({"delete", "1", "--file", File("b.dat")}), 0);
  passwordFilePrivate = false;
  std::vector<std::string> withFile = syncOf("b.dat");
  withFile.insert(withFile.end(), {"--password-file", File("b.dat")});
  EXPECT_EQ(Run(withFile), 1);
  EXPECT_NE(err.find("d\xC3\xBCrfen auch andere lesen"), std::string::npos) << err;
  EXPECT_EQ(Run({"sync", "--url", "http://127.0.0.1:9/", "--file", File("b.dat")}), 1);
  EXPECT_NE(err.find("ist nicht erreichbar"), std::string::npos) << err;
  ASSERT_EQ(Run(syncOf("b.dat")), 0) << err;
  ASSERT_EQ(Run(syncOf("a.dat")), 0) << err;
  EXPECT_NE(err.find("gel\xC3\xB6scht: \"Zahnarzt\""), std::string::npos) << err;
  ASSERT_EQ(Run({"list", "--file", File("a.dat")}), 0);
  EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace reminder
