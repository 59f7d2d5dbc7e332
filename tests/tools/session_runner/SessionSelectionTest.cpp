// `selection` after the PDM user pointed into the session: the work plane and the highlighted instances are
// printed as the node paths the other commands take.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "SessionRunnerTestSupport.h"

namespace {

TEST(SessionSelection, ShowsWhatThePdmPointedAtPerWindow) {
  SessionScratch scratch;
  const std::string vault = scratch.Dir() + "/vault";
  setenv("PDMSIM_VAULT", vault.c_str(), 1);
  const std::string pdm = "shell pdmsim ";
  SessionRun run = scratch.RunScript({
      pdm + "vault init",
      pdm + "vault import '" + scratch.Sample("Assembly.CADProduct") + "'",
      pdm + "load-into-cad Assembly",
      "wait idle 20",
      "dialog ZRBMessageDialog close-window",
      pdm + "workplane Assembly/Bracket.1/Bolt.2",
      "wait idle 20",
      pdm + "highlight Assembly/Bracket.2/Bolt.1 Assembly/Fixings.1",
      "wait idle 20",
      "echo ==",
      "selection",
  });
  unsetenv("PDMSIM_VAULT");
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  const std::string printed = run.out.substr(run.out.rfind("==\n") + 3);
  EXPECT_NE(printed.find("active    Assembly/Bracket.1/Bolt.2"), std::string::npos) << printed;
  EXPECT_NE(printed.find("selected  Assembly/Bracket.2/Bolt.1"), std::string::npos) << printed;
  EXPECT_NE(printed.find("selected  Assembly/Fixings.1"), std::string::npos) << printed;
}

}  // namespace
