// The pseudal2logo executable itself, run through the shell: exit statuses and a pipe between
// two runs.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "tests/cli/cli_test_support.h"
#include "tests/test_support.h"

namespace tortuval::cli {
namespace {

using tortuval::testing::Utf8;

struct ProcessResult {
  int status = -1;
  std::string out;
};

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

ProcessResult RunShell(const std::string& command) {
  ProcessResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  std::size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, count);
  const int raw = ::pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
}

const std::string kBinary = ShellQuoted(PSEUDAL2LOGO_PATH);

TEST(CliBinaryTest, VersionAndExitStatuses) {
  const ProcessResult version = RunShell(kBinary + " --version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "pseudal2logo 1.0.0\n");

  const ProcessResult usage = RunShell(kBinary + " --example 18 2>&1");
  EXPECT_EQ(usage.status, 2);
  EXPECT_EQ(usage.out, "pseudal2logo: numéro d'exemple invalide \"18\" (attendu : 1 à 17).\n" +
                           std::string(kHint));

  const ProcessResult missing = RunShell(kBinary + " /nonexistent/dir/x.alg 2>&1 >/dev/null");
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(missing.out.starts_with("pseudal2logo: Impossible d'ouvrir le fichier \""))
      << missing.out;
}

TEST(CliBinaryTest, ExampleAndStandardInputThroughAPipe) {
  const ProcessResult example = RunShell(kBinary + " --example 8");
  EXPECT_EQ(example.status, 0);
  EXPECT_EQ(example.out, Utf8(ConvertedExample(8).logoText));

  const ProcessResult piped =
      RunShell(kBinary + " --example-source 16 | " + kBinary + " --encoding cp1252 -");
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.out, ConvertedExample(16).logoText);
}

}  // namespace
}  // namespace tortuval::cli
