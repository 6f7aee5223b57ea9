// The command-line tool fed with inputs that cannot be read or are far too large: a clear French
// message for each, the documented exit status, and the other inputs of the run still converted.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "base/cp1252.h"
#include "convert/conversion.h"
#include "examples/example_catalogue.h"
#include "tests/test_support.h"

namespace tortuval::cli {
namespace {

namespace fs = std::filesystem;

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const fs::path& path) { return testing::ReadFileBytes(path.string()); }

class HostileCli : public testing::ScratchDirTest {
 protected:
  // Runs the tool with the arguments (already quoted where needed), from the test's folder.
  RunResult Run(const std::string& arguments) {
    const fs::path out = dir_ / "stdout.txt";
    const fs::path err = dir_ / "stderr.txt";
    const std::string command = "cd '" + dir_.string() + "' && '" PSEUDAL2LOGO_PATH "' " +
                                arguments + " >'" + out.string() + "' 2>'" + err.string() +
                                "' </dev/null";
    const int raw = std::system(command.c_str());
    RunResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    result.out = ReadAll(out);
    result.err = ReadAll(err);
    return result;
  }

  // The example the catalogue numbers `number`, as a file in the test's folder.
  fs::path ExampleFile(int number, const std::string& name) {
    return Write(name, examples::ExampleDocument(number - 1));
  }

  static std::string Logo(int number) {
    return base::Cp1252ToUtf8(
        convert::ConvertDocument(examples::ExampleDocument(number - 1)).logoText);
  }
};

// Texts that hold no instruction are failed inputs: nothing written for them, one sentence each,
// and the real documents among them still converted.
TEST_F(HostileCli, TextsWithoutInstructionsAreNotDocuments) {
  Write("vide.alg", "");
  Write("marque.alg", "\xEF\xBB\xBF");
  Write("notes.txt", "Bonjour,\nvoici mes notes.\n");
  ExampleFile(8, "euclide.alg");
  const RunResult result = Run("vide.alg marque.alg euclide.alg notes.txt");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, Logo(8));
  const std::string sentence =
      " ne contient aucune instruction Pseudal : ce n'est pas un document de l'éditeur.\n";
  EXPECT_EQ(result.err, "pseudal2logo: \"vide.alg\"" + sentence + "pseudal2logo: \"marque.alg\"" +
                            sentence + "pseudal2logo: \"notes.txt\"" + sentence);
}

TEST_F(HostileCli, TenMegabytesOfRandomBytesAreNoDocument) {
  std::mt19937 random(3);
  std::string bytes(10 << 20, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
  Write("bruit.alg", bytes);
  const RunResult result = Run("bruit.alg -o bruit.lgo");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "pseudal2logo: \"bruit.alg\" ne contient aucune instruction Pseudal : ce n'est pas un "
            "document de l'éditeur.\n");
  EXPECT_FALSE(fs::exists(dir_ / "bruit.lgo"));
}

TEST_F(HostileCli, UnreadableInputsAreReportedAndTheOthersConverted) {
  ExampleFile(8, "euclide.alg");
  ExampleFile(1, "table.alg");
  fs::create_directories(dir_ / "dossier.alg");
  fs::create_directories(dir_ / "sortie");
  const RunResult result = Run("euclide.alg dossier.alg absent.alg table.alg -d sortie");

  EXPECT_EQ(result.status, 1);
  const std::string folder = dir_.string();
  EXPECT_EQ(result.err, "pseudal2logo: Impossible d'ouvrir le fichier \"" + folder +
                            "/dossier.alg\". Le chemin désigne un dossier, pas un fichier.\n"
                            "pseudal2logo: Impossible d'ouvrir le fichier \"" +
                            folder + "/absent.alg\". Le fichier spécifié est introuvable.\n");
  EXPECT_EQ(ReadAll(dir_ / "sortie" / "euclide.lgo"), Logo(8));
  EXPECT_EQ(ReadAll(dir_ / "sortie" / "table.lgo"), Logo(1));
  EXPECT_FALSE(fs::exists(dir_ / "sortie" / "dossier.lgo"));
  EXPECT_FALSE(fs::exists(dir_ / "sortie" / "absent.lgo"));
}

TEST_F(HostileCli, FileWithoutReadPermission) {
  const fs::path locked = ExampleFile(8, "locked.alg");
  fs::permissions(locked, fs::perms::none);
  if (std::ifstream(locked).good()) {
    GTEST_SKIP() << "this user reads files whatever their permissions (root)";
  }
  ExampleFile(1, "table.alg");
  const RunResult result = Run("locked.alg table.alg");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "pseudal2logo: Impossible d'ouvrir le fichier \"" + locked.string() +
                            "\". Accès refusé.\n");
  EXPECT_EQ(result.out, Logo(1));
}

// A real document followed by a comment that brings the file to 200 MB: the tool must read it
// whole and give the document's own program, the text after the last instruction being ignored.
TEST_F(HostileCli, TwoHundredMegabyteFile) {
  const std::string& document = examples::ExampleDocument(7);
  {
    std::ofstream out(dir_ / "enorme.alg", std::ios::binary);
    out << document << "\r\n<!-- ";
    const std::string line(78, 'p');
    const std::size_t lines = (std::size_t{200} << 20) / 80;
    for (std::size_t i = 0; i < lines; ++i) out << line << "\r\n";
    out << "-->\r\n";
  }
  ASSERT_GE(fs::file_size(dir_ / "enorme.alg"), std::uintmax_t{200} << 20);
  const auto start = std::chrono::steady_clock::now();
  const RunResult result = Run("enorme.alg -o enorme.lgo");
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("[   TIME   ] 200 MB file through the command line: %.2f s\n", seconds);
  RecordProperty("cli_200MB_seconds", std::to_string(seconds));
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadAll(dir_ / "enorme.lgo"), Logo(8));
}

}  // namespace
}  // namespace tortuval::cli
