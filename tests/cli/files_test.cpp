// pseudal2logo on files: several inputs and standard input in order, unreadable inputs reported
// without stopping the others, -o and -d.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "convert/conversion.h"
#include "convert/source_file.h"
#include "examples/example_catalogue.h"
#include "tests/cli/cli_test_support.h"
#include "tests/test_support.h"

namespace tortuval::cli {
namespace {

namespace fs = std::filesystem;
using tortuval::testing::Utf8;

class CliFilesTest : public tortuval::testing::ScratchDirTest {
 protected:
  // A document file holding the bytes of built-in example `number` (Windows-1252).
  fs::path WriteExample(const std::string& name, int number) {
    return Write(name, examples::ExampleDocument(number - 1));
  }
  static std::string ReadBytes(const fs::path& path) {
    return tortuval::testing::ReadFileBytes(path.string());
  }
  // What the tool should print for a file, in UTF-8: the program of its decoded bytes.
  static std::string ProgramOf(const fs::path& path) {
    return Utf8(convert::ConvertDocument(convert::DecodeSourceBytes(ReadBytes(path))).logoText);
  }
  static std::string ReadError(const fs::path& path) {
    return tortuval::testing::ErrorMessage([&path] { convert::ReadSourceFile(path); });
  }
};

TEST_F(CliFilesTest, SeveralFilesArePrintedInOrder) {
  const fs::path a = WriteExample("a.alg", 1);
  const fs::path b = WriteExample("b.alg", 8);
  const RunOutput ab = RunCli({a.string(), b.string()});
  EXPECT_EQ(ab.status, ExitStatus::kSuccess);
  EXPECT_EQ(ab.err, "");
  EXPECT_EQ(ab.out, ProgramOf(a) + ProgramOf(b));
  EXPECT_EQ(RunCli({b.string(), a.string()}).out, ProgramOf(b) + ProgramOf(a));
}

TEST_F(CliFilesTest, StandardInputTakesItsPlaceAmongFiles) {
  const fs::path a = WriteExample("a.alg", 2);
  const fs::path b = WriteExample("b.alg", 3);
  const std::string stdinBytes = examples::ExampleDocument(13);
  const RunOutput result = RunCli({a.string(), "-", b.string()}, stdinBytes);
  EXPECT_EQ(result.status, ExitStatus::kSuccess);
  EXPECT_EQ(result.out, ProgramOf(a) + Utf8(ConvertedExample(14).logoText) + ProgramOf(b));
}

TEST_F(CliFilesTest, MissingAndUnreadableInputsDoNotStopTheOthers) {
  const fs::path good1 = WriteExample("good1.alg", 4);
  const fs::path good2 = WriteExample("good2.alg", 9);
  const fs::path missing = dir_ / "missing.alg";
  const fs::path folder = dir_ / "folder.alg";
  fs::create_directory(folder);

  const RunOutput result =
      RunCli({good1.string(), missing.string(), folder.string(), good2.string()});
  EXPECT_EQ(result.status, ExitStatus::kFailure);
  EXPECT_EQ(result.out, ProgramOf(good1) + ProgramOf(good2));
  EXPECT_EQ(result.err,
            "pseudal2logo: " + ReadError(missing) + "\npseudal2logo: " + ReadError(folder) + "\n");
  EXPECT_NE(result.err.find("Impossible d'ouvrir le fichier \"" + missing.string() + "\". "),
            std::string::npos)
      << result.err;
}

TEST_F(CliFilesTest, FileWithoutReadPermissionIsReported) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop the superuser";
  const fs::path locked = WriteExample("locked.alg", 1);
  const fs::path good = WriteExample("good.alg", 2);
  fs::permissions(locked, fs::perms::none);
  const RunOutput result = RunCli({locked.string(), good.string()});
  fs::permissions(locked, fs::perms::owner_all);
  EXPECT_EQ(result.status, ExitStatus::kFailure);
  EXPECT_EQ(result.out, ProgramOf(good));
  EXPECT_TRUE(result.err.starts_with("pseudal2logo: Impossible d'ouvrir le fichier \"" +
                                     locked.string() + "\". "))
      << result.err;
}

TEST_F(CliFilesTest, OutputFileReceivesTheBytes) {
  const fs::path input = WriteExample("prog.alg", 6);
  const fs::path output = dir_ / "prog.lgo";
  const RunOutput result = RunCli({"-o", output.string(), input.string()});
  EXPECT_EQ(result.status, ExitStatus::kSuccess);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(ReadBytes(output), ProgramOf(input));

  // An existing file is replaced, and the listing goes out byte for byte in cp1252.
  EXPECT_EQ(
      RunCli({input.string(), "--listing", "--encoding", "cp1252", "-o", output.string()}).status,
      ExitStatus::kSuccess);
  EXPECT_EQ(ReadBytes(output), ConvertedExample(6).listingText);

  EXPECT_EQ(RunCli({"--examples", "--lf", "-o", output.string()}).status, ExitStatus::kSuccess);
  EXPECT_EQ(ReadBytes(output), RunCli({"--examples", "--lf"}).out);
}

TEST_F(CliFilesTest, OutputFileIsNotCreatedWhenTheInputFails) {
  const fs::path output = dir_ / "out.lgo";
  const RunOutput result = RunCli({"-o", output.string(), (dir_ / "missing.alg").string()});
  EXPECT_EQ(result.status, ExitStatus::kFailure);
  EXPECT_FALSE(fs::exists(output));
}

TEST_F(CliFilesTest, OutputFileThatCannotBeWritten) {
  const fs::path output = dir_ / "no_such_folder" / "out.lgo";
  const RunOutput result = RunCli({"--example", "8", "-o", output.string()});
  EXPECT_EQ(result.status, ExitStatus::kFailure);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "pseudal2logo: Impossible d'écrire le fichier \"" + output.string() +
                            "\". Le chemin d'accès spécifié est introuvable.\n");

  const RunOutput onFolder = RunCli({"--examples", "-o", dir_.string()});
  EXPECT_EQ(onFolder.status, ExitStatus::kFailure);
  EXPECT_EQ(onFolder.err, "pseudal2logo: Impossible d'écrire le fichier \"" + dir_.string() +
                              "\". Le chemin désigne un dossier, pas un fichier.\n");
}

TEST_F(CliFilesTest, OutputDirectoryGetsOneFilePerInput) {
  const fs::path a = WriteExample("in/a.alg", 7);
  const fs::path b = WriteExample("other/b.ALG", 10);
  const fs::path missing = dir_ / "in" / "c.alg";
  const fs::path out = dir_ / "out";
  fs::create_directory(out);

  const RunOutput result = RunCli({"-d", out.string(), a.string(), missing.string(), b.string()});
  EXPECT_EQ(result.status, ExitStatus::kFailure);  // the missing input, the others still written
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "pseudal2logo: " + ReadError(missing) + "\n");
  EXPECT_EQ(ReadBytes(out / "a.lgo"), ProgramOf(a));
  EXPECT_EQ(ReadBytes(out / "b.lgo"), ProgramOf(b));
  EXPECT_FALSE(fs::exists(out / "c.lgo"));

  const RunOutput listing =
      RunCli({"--listing", "--encoding", "cp1252", "-d", out.string(), a.string()});
  EXPECT_EQ(listing.status, ExitStatus::kSuccess);
  EXPECT_EQ(ReadBytes(out / "a.txt"), ConvertedExample(7).listingText);
}

TEST_F(CliFilesTest, OutputDirectoryMustExist) {
  const fs::path input = WriteExample("a.alg", 1);
  const fs::path missingDir = dir_ / "nowhere";
  const RunOutput missing = RunCli({"-d", missingDir.string(), input.string()});
  EXPECT_EQ(missing.status, ExitStatus::kFailure);
  EXPECT_EQ(missing.err,
            "pseudal2logo: le dossier \"" + missingDir.string() + "\" n'existe pas.\n");
  EXPECT_FALSE(fs::exists(missingDir));

  const RunOutput notDir = RunCli({"-d", input.string(), input.string()});
  EXPECT_EQ(notDir.status, ExitStatus::kFailure);
  EXPECT_EQ(notDir.err, "pseudal2logo: \"" + input.string() + "\" n'est pas un dossier.\n");
}

TEST_F(CliFilesTest, CutDocumentConvertsAsFarAsItGoesWithAWarning) {
  // Example 8 without its closing element, then cut inside its last item.
  const std::string& whole = examples::ExampleDocument(7);
  const std::string noClose = whole.substr(0, whole.rfind("</Algo>"));
  const fs::path a = Write("a.alg", noClose);
  const fs::path b = Write("b.alg", noClose.substr(0, noClose.rfind("code=") + 8));
  const RunOutput result = RunCli({a.string(), b.string()});
  EXPECT_EQ(result.status, ExitStatus::kSuccess);
  EXPECT_EQ(result.out, ProgramOf(a) + ProgramOf(b));
  EXPECT_EQ(ProgramOf(a), Utf8(ConvertedExample(8).logoText));
  const std::string warning =
      "\" semble incomplet (le document s'arrête avant sa fin) ; le programme s'arrête à sa "
      "dernière instruction lue.\n";
  EXPECT_EQ(result.err, "pseudal2logo: attention : \"" + a.string() + warning +
                            "pseudal2logo: attention : \"" + b.string() + warning);

  const RunOutput piped = RunCli({"--listing"}, noClose);
  EXPECT_EQ(piped.status, ExitStatus::kSuccess);
  EXPECT_EQ(piped.out, Utf8(ConvertedExample(8).listingText));
  EXPECT_EQ(piped.err,
            "pseudal2logo: attention : l'entrée standard semble incomplète (le document s'arrête "
            "avant sa fin) ; le programme s'arrête à sa dernière instruction lue.\n");
  const RunOutput notes = RunCli({"-"}, "Bonjour.");
  EXPECT_EQ(notes.status, ExitStatus::kFailure);
  EXPECT_EQ(notes.out, "");
  EXPECT_EQ(notes.err,
            "pseudal2logo: l'entrée standard ne contient aucune instruction Pseudal : ce n'est pas "
            "un document de l'éditeur.\n");
}

// An output that would replace an input, by its own name or through a link, is a usage error
// found before anything is written.
TEST_F(CliFilesTest, OutputOverAnInputIsRefused) {
  const fs::path doc = WriteExample("doc.alg", 8);
  const std::string original = ReadBytes(doc);
  fs::create_symlink(doc, dir_ / "lien.alg");
  fs::create_hard_link(doc, dir_ / "dur.alg");
  fs::create_symlink(doc, dir_ / "lien.lgo");
  const fs::path other = WriteExample("autre.alg", 1);
  struct Row {
    std::vector<std::string> args;
    std::string output;
    std::string input;
  };
  const Row rows[] = {
      {{"-o", doc.string(), doc.string()}, doc.string(), doc.string()},
      {{"--listing", "-o", (dir_ / "lien.alg").string(), doc.string()},
       (dir_ / "lien.alg").string(),
       doc.string()},
      {{"--check", "-o", (dir_ / "dur.alg").string(), doc.string()},
       (dir_ / "dur.alg").string(),
       doc.string()},
      {{"-d", dir_.string(), other.string(), (dir_ / "lien.alg").string()},
       (dir_ / "lien.lgo").string(),
       (dir_ / "lien.alg").string()},
  };
  for (const Row& row : rows) {
    const RunOutput result = RunCli(row.args);
    EXPECT_EQ(result.status, ExitStatus::kUsageError) << row.output;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "pseudal2logo: le fichier de sortie \"" + row.output +
                              "\" est le fichier d'entrée \"" + row.input +
                              "\" : il serait écrasé.\n" + std::string(kHint));
  }
  EXPECT_EQ(ReadBytes(doc), original);
  EXPECT_FALSE(fs::exists(dir_ / "autre.lgo"));  // -d wrote nothing for the other input either
  // A different file of the same name elsewhere is no input.
  fs::create_directory(dir_ / "out");
  Write("out/doc.alg", "ancien");
  EXPECT_EQ(RunCli({"-o", (dir_ / "out" / "doc.alg").string(), doc.string()}).status,
            ExitStatus::kSuccess);
}

}  // namespace
}  // namespace tortuval::cli
