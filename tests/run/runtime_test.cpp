// Small programs with their exact output, or their exact error and line: the dialect's readings
// (precedence, list positions, scope, counted loops), the limits and the messages.

#include "run/runtime.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "library/support_procedures.h"
#include "logo/checker.h"
#include "logo/reader.h"
#include "tests/run/scripted_console.h"
#include "tests/test_support.h"

namespace tortuval::run {
namespace {

using testing::Cp;
using testing::Utf8;

// The run's stop when a recursion has taken the memory its stacks may take; group 1 is the depth.
const std::regex kMemoryFull(
    "Trop d'appels imbriqués de « p » \\(([0-9]+)\\) : la mémoire prévue pour l'exécution est "
    "pleine\\.");

struct RunCase {
  const char* name;
  std::vector<std::string> lines;  // UTF-8
  std::string output;              // UTF-8; on an error, what was written before it
  std::string message = {};        // UTF-8; empty for a complete run
  int line = 0;
  std::vector<std::string> answers = {};
};

const RunCase kRunCases[] = {
    {"precedence",
     {"ECRISLIGNE 2 + 3 * 4 - 10 / 4 ^ 2", "ECRISLIGNE - 2 * 3 + 7 % 4"},
     "13,375\n-3\n"},
    {"logic_and_before_or",
     {"TESTE 1 < 2 ET 3 > 4 OU 2 = 2", "SIVRAI [ ECRIS \"oui ]", "SIFAUX [ ECRIS \"non ]"},
     "oui"},
    {"a_test_inside_a_branch_leaves_the_outer_choice",
     {"TESTE 1 = 1", "SIVRAI [ TESTE 2 = 3", "SIVRAI [ ECRIS \"a ]", "SIFAUX [ ECRIS \"b ] ]",
      "SIFAUX [ ECRIS \"c ]", "TESTE 1 = 2", "SIFAUX [ TESTE 2 = 2 ]",
      "SIVRAI [ ECRIS \"d ] SIFAUX [ ECRIS \"e ]"},
     "be"},
    {"primitive_call_ends_at_its_parenthesis",
     {"ECRISLIGNE abs ( 1 - 3 ) > 1", "ECRISLIGNE entier ( 7 / 2 ) / 2", "ECRISLIGNE rac2 9 + 7"},
     "vrai\n1,5\n4\n"},
    {"grouped_calls", {"ECRIS ( random 4 4 ) + ( puissance 2 10 )"}, "1028"},
    // A list grown by PH in place: a value that shares it, or a later change of it inside the
    // appended input, sees the list as it was.
    {"appends_leave_other_holders_alone",
     {"POUR f", "SOIT \"L [ 9 ]", "rends 3", "FIN", "DEFINIS \"L LISTE",
      "REPETE 3 [ SOIT \"L PH :L boucle ]", "SOIT \"M :L", "SOIT \"L PH :L 4", "SOIT \"L PH :L :L",
      "ECRISLIGNE :M", "ECRISLIGNE :L", "SOIT \"L PH :L f", "ECRIS :L"},
     "1 2 3\n1 2 3 4 1 2 3 4\n1 2 3 4 1 2 3 4 3"},
    // Growing where it is, an append costs one step, not one for every 16 items already there.
    {"a_list_grows_to_100000_items_one_append_at_a_time",
     {"DEFINIS \"L LISTE", "REPETE 100000 [ SOIT \"L PH :L boucle ]",
      "ECRISLIGNE card :L", "ECRIS dernier :L"},
     "100000\n100000"},
    // A list nested 100,000 deep (scinde puts the list in a list each time) is printed,
    // compared and let go without running out of the thread's stack.
    {"lists_nested_deep",
     {"soit \"L [ ]", "REPETE 100000 [ soit \"L scinde :L 1 ]", "soit \"M :L",
      "soit \"P scinde :M 1", "ECRISLIGNE card :L", "ECRISLIGNE :L = :M",
      "ECRISLIGNE :L = :P", "ECRIS card mot \"x :L"},
     "2\nvrai\nfaux\n500001"},  // "[] [[] [[] …]]": 5 characters a level
    {"numbers_print",
     {"ECRISLIGNE 1 / 3", "ECRISLIGNE 0.1 + 0.2", "ECRISLIGNE 2,50", "ECRISLIGNE 1e20 * 10",
      "ECRISLIGNE 1 / 400000", "ECRISLIGNE - 0"},
     "0,333333333333333\n0,3\n2,5\n1E21\n2,5E-6\n0\n"},
    {"text_lists_keep_their_inner_blanks",
     {"ECRIS [  a  b  ]", "ECRIS \"x", "ECRISLIGNE [ // pas un commentaire ]"},
     " a  b x// pas un commentaire\n"},
    {"source_strings",
     {"soit \"m \"deux mots \"", "soit \"v \" \"", "ECRIS :m ECRIS :v ECRIS \"fin",
      "ECRIS [   ] ECRIS :m.length ECRIS card :v",
      "TESTE :m = \"deux mots \" SIVRAI [ ECRIS \"! ]"},
     "deux motsfin 90!"},
    {"words_join_with_plus",
     {"soit \"a \"ab \"", "soit \"a :a + \"cd \"", "ECRISLIGNE :a", "ECRISLIGNE \"n \" + 2 + 3",
      "ECRISLIGNE 2 + 3 + \"n \"", "ECRISLIGNE \"4 \" + 1", "ECRISLIGNE :a * 2"},
     "abcd\nn23\n5n\n5\n",
     "« abcd » n'est pas un nombre.",
     7},
    {"list_positions_agree",
     {"DEFINIS \"L LISTE", "remplace :L [10] [0]", "remplace :L [20] [1]",
      "ECRIS item :L [ 1 ] ECRIS [   ] ECRIS item :L ( 1 + 1 ) ECRIS [   ] ECRIS card :L"},
     "20 20 2"},
    {"positions_skipped_are_zero", {"remplace :L [5] [2]", "ECRIS :L"}, "0 0 5"},
    {"reading_outside_a_list",
     {"DEFINIS \"L LISTE", "remplace :L [1] [0]", "ECRIS item :L [ 3 ]"},
     "",
     "La position lue 3 est hors de la liste (1 éléments).",
     3},
    {"scope",
     {"POUR p :x", "DEFINIS \"y NOMBRE", "soit \"y 5", "soit \"x :x + 1", "soit \"z :x * :y", "FIN",
      "soit \"x 1", "soit \"y 2", "p 10", "ECRIS :x ECRIS :y ECRIS :z"},
     "1255"},
    {"counted_loop_counter_after_the_loop",
     {"SOIT \"i 1", "REPETE 3 [ ECRIS :i", "TESTE (( 3 ) - ( 1 )) >= 0",
      "SIVRAI INC :i SIFAUX DEC :i ]", "ECRIS :i"},
     "1234"},
    {"counted_loop_down",
     {"SOIT \"i 3", "REPETE ABS ( 1 - 4 ) [ ECRIS :i", "TESTE (( 1 ) - ( 3 )) >= 0",
      "SIVRAI INC :i SIFAUX DEC :i ]", "ECRIS :i"},
     "3210"},
    {"counted_loop_ends_when_its_counter_passes_the_end",
     {"SOIT \"i 1", "REPETE 10 [ ECRIS :i", "TESTE :i = 3", "SIVRAI [ soit \"i 10 ]",
      "TESTE (( 10 ) - ( 1 )) >= 0", "SIVRAI INC :i SIFAUX DEC :i ]", "ECRIS [   ] ECRIS :i"},
     "123 11"},
    {"recursion",
     {"POUR f :n", "TESTE :n = 0 SIVRAI [ rends 1 ]", "rends :n * f :n - 1", "FIN", "ECRIS f 10"},
     "3628800"},
    {"while_and_lines_continued",
     {"soit \"n 0", "TANT QUE (:n < 5 ET", "    :n <> 3) [ soit \"n ( :n +", "1 ) ]", "ECRIS :n"},
     "3"},
    {"words_and_lists",
     {"soit \"l PH LISTEVARS 0 0 2 [ a b ]", "ECRISLIGNE :l", "ECRISLIGNE mot \"ab \"cd",
      "ECRISLIGNE item ( scinde :l 3 ) 2", "ECRISLIGNE trieitems [ 3 1 2 ] [ > NOMBRE ]",
      "ECRISLIGNE substr \"bonjour 1 3"},
     "0 0 a b\nabcd\na b\n3 2 1\n",
     "« substr » n'est ni une primitive ni une procédure du programme : corrigez le nom, ou "
     "définissez la procédure avec POUR … FIN.",
     6},
    // A variable given an item of its own list, or the list grown from it: the item is taken
    // before the list it lived in is let go.
    {"a_list_takes_its_own_item",
     {"SOIT \"L [ [ 1 [ 2 ] ] 3 ]", "SOIT \"L premier :L", "ECRISLIGNE :L", "SOIT \"L dernier :L",
      "ECRISLIGNE :L", "SOIT \"M [ [ a ] ]", "SOIT \"M PH premier :M :M", "ECRIS :M"},
     "1 [2]\n2\na [a]"},
    {"lists_compare_item_by_item",
     {"DEFINIS \"L LISTE", "ECRISLIGNE ( :L = [ ] )", "ECRISLIGNE ( [ 1 2 ] = PH 1 2 )",
      "ECRISLIGNE ( [ 1 2 ] <> [ 1 2 3 ] )", "ECRISLIGNE ( [ a [ b c ] ] = [ a [ b d ] ] )",
      "ECRISLIGNE ( [ 2 ] = PH \"2,0 [ ] )", "ECRISLIGNE ( [ 2 ] = 2 )"},
     "vrai\nvrai\nvrai\nfaux\nvrai\nfaux\n"},
    {"truth_values_equal_their_words",
     {"ECRISLIGNE vrai = \"vrai", "ECRISLIGNE ( 1 > 2 ) = \"FAUX", "ECRISLIGNE vrai = \"faux",
      "ECRISLIGNE faux <> \"vrai", "ECRISLIGNE faux = [ ]"},
     "vrai\nvrai\nfaux\nvrai\nfaux\n"},
    // é is byte 233 in Windows-1252, after every unaccented letter; "10" and "9" are numbers.
    {"words_order_by_their_bytes",
     {"ECRISLIGNE \"abc < \"abd", "ECRISLIGNE \"ab < \"abc", "ECRISLIGNE \"Z < \"a",
      "ECRISLIGNE \"été > \"zoo", "ECRISLIGNE \"10 < \"9", "ECRISLIGNE \"abc > \"abc",
      "ECRISLIGNE \"a < 1"},
     "vrai\nvrai\nvrai\nvrai\nfaux\nfaux\n",
     "« a » n'est pas un nombre.",
     7},
    {"words_as_truth_values",
     {"TESTE \"vrai SIVRAI [ ECRIS \"a ]", "TESTE \"FAUX SIFAUX [ ECRIS \"b ]",
      "si \"Vrai ET non \"faux [ ECRIS \"c ]", "TANT QUE \"faux [ ECRIS \"x ]", "TESTE \"oui"},
     "abc",
     "« oui » n'est ni vrai ni faux.",
     5},
    // A point's items are expressions; the list after ECRIS stays text.
    {"point_lists_read_expressions",
     {"SOIT \"x 2", "initgraph faux", "PLOT [ :x * 3 - 1 :x  0 ]",
      "SEGMENT3D [ 1 - 1 2  0 ] [ :x 0 ]", "ECRIS [ :x :y ]", "PLOT [ :x * 2 :x + 1 0 :x ]"},
     ":x :y",
     "Un point s'écrit [ x y z ] : 4 coordonnées ici.",
     6},
    {"produit",
     {"ECRISLIGNE produit [ 2 3 4 ]", "ECRISLIGNE produit [ ]",
      "ECRISLIGNE produit ( PH 0,5 [ 4 ] ) + 1", "ECRISLIGNE produit PH \"2 \"3",
      "ECRISLIGNE produit [ 1e200 1e200 ]", "ECRISLIGNE produit [ 2 a ]"},
     "24\n1\n3\n6\nInfinity\n",
     "« a » n'est pas un nombre.",
     6},
    // A number's first or last character is that of its written form, itself a number.
    {"premier",
     {"ECRISLIGNE premier [ a b c ]", "ECRISLIGNE premier [ [ 1 2 ] 3 ]",
      "ECRISLIGNE premier \"bonjour", "ECRISLIGNE premier 42 + 1", "ECRISLIGNE premier ( 42 ) + 1",
      "ECRISLIGNE premier [ ]"},
     "a\n1 2\nb\n4\n5\n",
     "« premier » ne s'applique pas à une liste vide.",
     6},
    {"dernier",
     {"ECRISLIGNE dernier [ a b c ]", "ECRISLIGNE dernier [ 1 [ 2 3 ] ]",
      "ECRISLIGNE dernier \"bonjour", "ECRISLIGNE dernier 2 / 3",  // 0,666666666666667
      "ECRISLIGNE dernier ( 120 ) + 1", "ECRISLIGNE dernier \" \""},
     "c\n2 3\nr\n7\n1\n",
     "« dernier » ne s'applique pas à un mot vide.",
     6},
    {"transforme",
     {"ECRISLIGNE transforme 2,50", "ECRISLIGNE card transforme 1 / 4",
      "ECRISLIGNE ( transforme 2 ) + 3", "ECRISLIGNE transforme [ a [ b ] ]",
      "ECRISLIGNE card transforme 1e21"},
     "2,5\n4\n5\na [b]\n4\n"},
    // A joined word is a number only when written as that number is: "2," stays a word, so
    // that taking a number apart and joining it back loses nothing.
    {"mot_keeps_a_piece_as_written",
     {"soit \"w \"", "REPETE 4 [ soit \"w mot :w item transforme 2,75 boucle ]",
      "ECRISLIGNE :w", "ECRISLIGNE :w + 1", "ECRISLIGNE mot \"0 7", "ECRIS ( mot 1 2 ) + 1"},
     "2,75\n3,75\n07\n13"},
    {"tan",
     {"ECRISLIGNE tan 0", "ECRISLIGNE tan PI / 4", "ECRISLIGNE tan ( PI / 4 ) * 2",
      "ECRISLIGNE tan - PI / 3"},  // -√3
     "0\n1\n2\n-1,73205080756888\n"},
    {"arctan",
     {"ECRISLIGNE arctan ( 1 ) * 4", "ECRISLIGNE arctan 1 * 4", "ECRISLIGNE arctan - 1e300",
      "ECRISLIGNE tan arctan 2"},
     "3,14159265358979\n1,32581766366803\n-1,5707963267949\n2\n"},
    {"log_of_zero",
     {"ECRISLIGNE log 1", "ECRISLIGNE log exp 2", "ECRISLIGNE log 0,5", "ECRISLIGNE log 2 - 2"},
     "0\n2\n-0,693147180559945\n",
     "« log » d'un nombre négatif ou nul (0).",
     4},
    {"arccos_outside_minus_one_one",
     {"ECRISLIGNE arccos 1", "ECRISLIGNE arccos - 1", "ECRISLIGNE arccos ( 0,5 ) * 3",
      "ECRISLIGNE arccos 1,5"},
     "0\n3,14159265358979\n3,14159265358979\n",
     "« arccos » d'un nombre hors de [-1 ; 1] (1,5).",
     4},
    {"arcsin_outside_minus_one_one",
     {"ECRISLIGNE arcsin - 0,5", "ECRISLIGNE arcsin ( 1 ) * 2", "ECRISLIGNE arcsin 1 + 1e-9"},
     "-0,523598775598299\n3,14159265358979\n",
     "« arcsin » d'un nombre hors de [-1 ; 1] (1,000000001).",
     3},
    {"caractere_outside_windows_1252",
     {"ECRIS caractère 65", "ECRIS caractère 233", "ECRIS caractère 32 + 1", "ECRIS caractère 255",
      "ECRIS caractère 256"},
     "Aé!ÿ",
     "« caractère » attend un code de 1 à 255, pas 256.",
     5},
    {"random_over_an_empty_range",
     {"ECRIS ( random 1,5 2,5 )", "ECRIS random 1", "ECRIS ( random 3 3 )", "ECRIS ( random 6 1 )"},
     "203",
     "« random » n'a aucun nombre entier à tirer entre ses bornes.",
     4},
    // Many whole numbers, not none (once "n'a aucun nombre entier").
    {"random_over_too_wide_a_range",
     {"ECRIS ( random 1 1e300 )"},
     "",
     "Trop de nombres entiers à tirer pour « random » (1E300).",
     1},
    {"reads",
     {"ECL [Tape un nombre.] EFFL", "SOIT \"a LISNOMBRE", "SOIT \"l LISLISTE",
      "ECRIS :a * 2 ECRIS item :l 2"},
     "5b",
     "",
     0,
     {"2,5", "a b c"}},
    {"input_runs_out",
     {"ECRIS 1", "SOIT \"a LISNOMBRE"},
     "1",
     "Il n'y a plus de réponse à lire.",
     2},
    // A number read that is not a number is asked again (once "La réponse « douze » n'est pas
    // un nombre.", which ended the run).
    {"answer_not_a_number_is_asked_again",
     {"SOIT \"a LISNOMBRE", "ECRIS :a * 2"},
     "12",
     "",
     0,
     {"douze", "6"}},
    {"division_by_zero",
     {"soit \"a 1", "ECRIS :a", "ECRIS :a / ( :a - 1 )"},
     "1",
     "Division par zéro.",
     3},
    // What cannot be read stops the run with the check's own sentence.
    {"unknown_word",
     {"ECRIS 1", "avance 10"},
     "1",
     "« avance » n'est ni une primitive ni une procédure du programme : corrigez le nom, ou "
     "définissez la procédure avec POUR … FIN.",
     2},
    {"missing_input",
     {"ECRIS 1", "soit \"x"},
     "1",
     "« soit » attend 2 entrées mais n'en reçoit que 1 avant la fin de la ligne : ajoutez ce qui "
     "manque.",
     2},
    {"no_value", {"ECRIS :y"}, "", "La variable « y » n'a pas de valeur.", 1},
    {"unclosed_list",
     {"REPETE 2 [ ECRIS 1"},
     "",
     "Le bloc ouvert par ce « [ » n'est jamais refermé : ajoutez le « ] » qui le termine.",
     1},
    {"value_not_used",
     {"2 + 3"},
     "",
     "Que faire de « 2 » ? Cette valeur n'est donnée à aucune primitive ni procédure.",
     1},
    {"procedure_without_end",
     {"ECRIS 1", "POUR p", "ECRIS 2"},
     "1",
     "La procédure « p » n'est pas terminée : ajoutez une ligne « FIN » après ses instructions.",
     2},
    {"procedure_without_result",
     {"POUR p", "ECRIS 1", "FIN", "ECRIS p"},
     "1",
     "« p » n'a pas rendu de valeur.",
     4},
};

TEST(RunProgram, ReadsTheDialectAsTheSourceMeansIt) {
  for (const RunCase& test : kRunCases) {
    SCOPED_TRACE(test.name);
    std::string program;
    for (const std::string& line : test.lines) program += line + "\r\n";
    std::vector<std::string> answers;
    for (const std::string& answer : test.answers) answers.push_back(Cp(answer));
    ScriptedConsole console(answers);
    RunOptions options;
    options.seed = 1;
    const RunResult result = RunProgram(Cp(program), console, options);
    EXPECT_EQ(Utf8(console.output), test.output);
    EXPECT_EQ(Utf8(result.message), test.message);
    EXPECT_EQ(result.line, test.line);
    const Outcome expected = test.message.empty()                        ? Outcome::kCompleted
                             : test.message.starts_with("Il n'y a plus") ? Outcome::kInputExhausted
                                                                         : Outcome::kError;
    EXPECT_EQ(result.outcome, expected);
  }
}

// One reading serves the check and any number of runs, each as the text's own run; a stop names
// the place of the value that went wrong, inside its line.
TEST(RunProgram, RunsAReadingAsItsTextAgainAndAgain) {
  const std::string text =
      "POUR p :L\r\nrends item :L 3\r\nFIN\r\nDEFINIS \"L LISTE\r\n"
      "REPETE 2 [ SOIT \"L PH :L [ a [ b ] ] ]\r\nECRISLIGNE :L ECRIS \"x ECRIS vrai\r\n"
      "ECRIS p [ 1 2 ]\r\n";
  const logo::Reading reading = logo::ReadProgram(text);
  EXPECT_TRUE(logo::CheckReading(reading).empty());
  ScriptedConsole fromText;
  const RunResult expected = RunProgram(text, fromText);
  EXPECT_EQ(fromText.output, "a [b] a [b]\nxvrai");
  EXPECT_EQ(expected.message, Cp("La position lue 3 est hors de la liste (2 éléments)."));
  EXPECT_EQ(expected.line, 2);
  EXPECT_EQ(expected.column, 7);  // item, not the rends around it
  for (int run = 0; run < 2; ++run) {
    ScriptedConsole console;
    const RunResult result = RunProgram(reading, console);
    EXPECT_EQ(console.output, fromText.output);
    EXPECT_EQ(result.message, expected.message);
    EXPECT_EQ(result.line, expected.line);
    EXPECT_EQ(result.column, expected.column);
  }
}

TEST(RunProgram, PromptOfEclGoesToTheRead) {
  ScriptedConsole console({"3"});
  RunProgram("ECL [Tape un nombre.] EFFL\r\nSOIT \"a LISNOMBRE\r\nECL :a\r\nEFFL\r\n", console);
  EXPECT_EQ(console.prompts, std::vector<std::string>{"Tape un nombre."});
  EXPECT_EQ(console.output, "");
}

// The read that asks again says why; the prompt of ECL comes back once a number is read.
TEST(RunProgram, ARefusedAnswerIsAskedAgainWithItsReason) {
  ScriptedConsole console({"douze", "", "3", "4"});
  const RunResult result = RunProgram(
      Cp("ECL [Un nombre ?] EFFL\nSOIT \"a LISNOMBRE\nSOIT \"b LISNOMBRE\nECRIS :a + :b"), console);
  EXPECT_EQ(result.outcome, Outcome::kCompleted) << Utf8(result.message);
  EXPECT_EQ(console.output, "7");
  ASSERT_EQ(console.prompts.size(), 4u);
  EXPECT_EQ(Utf8(console.prompts[1]), "« douze » n'est pas un nombre : tapez un nombre.");
  EXPECT_EQ(Utf8(console.prompts[2]), "«  » n'est pas un nombre : tapez un nombre.");
  EXPECT_EQ(Utf8(console.prompts[3]), "Un nombre ?");
}

// The pause the converter writes waits on the console once, then the program goes on.
TEST(RunProgram, ThePauseWaitsOnTheConsole) {
  struct PausingConsole : ScriptedConsole {
    bool KeyPressed() override {
      ++pauses;
      outputAtPause = output;
      return true;
    }
    int pauses = 0;
    std::string outputAtPause;
  } console;
  const RunResult result = RunProgram(
      "ECRIS [cliquez sur CONTINUER]\ntant que non(touche?) []\nECRIS [ suite]", console);
  EXPECT_EQ(result.outcome, Outcome::kCompleted);
  EXPECT_EQ(console.pauses, 1);
  EXPECT_EQ(console.outputAtPause, "cliquez sur CONTINUER");
  EXPECT_EQ(console.output, "cliquez sur CONTINUERsuite");
}

// An observer sees each instruction before it runs, with the variables as they stand: globals,
// then the locals of the procedure being run.
TEST(RunProgram, AnObserverSeesEachInstructionAndTheVariables) {
  struct Recorder : RunObserver {
    void BeforeInstruction(int line, const RunState& state) override {
      std::string seen = std::to_string(line);
      for (const WatchedVariable& variable : state.Variables()) {
        seen += ' ' + std::string(variable.local ? "." : "") + variable.name + '=' + variable.value;
      }
      stops.push_back(seen);
    }
    std::vector<std::string> stops;
  } recorder;
  ScriptedConsole console;
  RunOptions options;
  options.observer = &recorder;
  const RunResult result = RunProgram(
      "POUR double :x\nDEFINIS \"y NOMBRE\nsoit \"y :x * 2\nrends :y\nFIN\n"
      "SOIT \"L [ 1 2 ]\nSOIT \"a double 3\nECRIS :a",
      console, options);
  EXPECT_EQ(result.outcome, Outcome::kCompleted);
  EXPECT_EQ(console.output, "6");
  EXPECT_EQ(recorder.stops,
            (std::vector<std::string>{"6 L= a=", "7 L=[1 2] a=", "2 L=[1 2] a= .x=3 .y=",
                                      "3 L=[1 2] a= .x=3 .y=0", "4 L=[1 2] a= .x=3 .y=6",
                                      "8 L=[1 2] a=6"}));
}

// A front end sharing the run's thread gets it back every 1024 instructions, watching or not,
// with what the program wrote so far already in its console.
TEST(RunProgram, AnObserverGetsTheThreadEvery1024InstructionsWithTheOutputSoFar) {
  struct Page : RunObserver {
    explicit Page(const ScriptedConsole& console) : console(console) { watching = false; }
    void BeforeInstruction(int, const RunState&) override { ++instructionsWatched; }
    void WhileRunning(const RunState&) override { outputs.push_back(console.output); }
    const ScriptedConsole& console;
    int instructionsWatched = 0;
    std::vector<std::string> outputs;
  };
  ScriptedConsole console;
  Page page(console);
  RunOptions options;
  options.observer = &page;
  // Two instructions a pass: "b" is written after the first 1024 instructions, long before the
  // last of the loop's 6000.
  const RunResult result = RunProgram(
      "ECRIS \"a\nSOIT \"x 0\nREPETE 3000 [ soit \"x :x + 1 si :x = 1000 [ ECRIS \"b ] ]\n",
      console, options);
  ASSERT_EQ(result.outcome, Outcome::kCompleted);
  EXPECT_EQ(page.instructionsWatched, 0);
  ASSERT_GE(page.outputs.size(), 5u);
  EXPECT_LE(page.outputs.size(), 6u);
  EXPECT_EQ(page.outputs.front(), "a");
  EXPECT_EQ(page.outputs.back(), "ab");
}

TEST(RunProgram, DrawsSegmentsAndPointsInThePlane) {
  ScriptedConsole console;
  const RunResult result = RunProgram(
      "initgraph faux\nSEGMENT3D [ 1 2  0 ] [ 3 - 4  0 ]\nSEGMENT3D [ 1 - 1 2  0 ] [ 0 0 ]\nPLOT [ "
      "5 6  0 ]\ngrapheur vrai\n",
      console);
  ASSERT_EQ(result.outcome, Outcome::kCompleted) << result.message;
  ASSERT_EQ(result.drawing.segments.size(), 2u);
  EXPECT_EQ(result.drawing.segments[0].to.y, -4);   // (3, -4), not (3 - 4, 0)
  EXPECT_EQ(result.drawing.segments[1].from.x, 0);  // (1 - 1, 2)
  ASSERT_EQ(result.drawing.points.size(), 1u);
  EXPECT_EQ(result.drawing.points[0].x, 5);
  EXPECT_TRUE(result.drawing.started && result.drawing.shown);
  EXPECT_EQ(console.drawingsShown, 1);
}

TEST(RunProgram, LimitsStopRunawayPrograms) {
  RunOptions options;
  options.limits.maxSteps = 1000;
  options.limits.maxCallBytes = 16 << 10;
  options.limits.maxOutputBytes = 100;
  ScriptedConsole console;
  RunResult result = RunProgram("ECRIS 1\nTANT QUE vrai [ ]\n", console, options);
  EXPECT_EQ(Utf8(result.message),
            "Le programme a dépassé 1000 pas : il ne s'arrête pas, ou il lui faut plus de pas.");
  EXPECT_EQ(result.line, 2);
  EXPECT_EQ(console.output, "1");

  result = RunProgram("POUR p :n\nrends p :n + 1\nFIN\nECRIS p 1\n", console, options);
  EXPECT_TRUE(std::regex_match(Utf8(result.message), kMemoryFull)) << Utf8(result.message);
  EXPECT_EQ(result.line, 2);

  result = RunProgram("REPETE 100 [ ECRISLIGNE \"bonjour ]\n", console, options);
  EXPECT_EQ(Utf8(result.message), "Le programme a écrit plus de 100 octets.");

  std::atomic<bool> stop = true;
  options.stopRequested = &stop;
  options.limits.maxSteps = 1'000'000;
  result = RunProgram("REPETE 100000 [ soit \"x 1 ]\n", console, options);
  EXPECT_EQ(result.outcome, Outcome::kStopped);
  EXPECT_EQ(Utf8(result.message), "Programme arrêté.");
}

// Calls keep no frame on the thread's stack: a recursion goes as deep as the run's memory.
TEST(RunProgram, RecursionGoesAsDeepAsTheRunsMemory) {
  const std::string sum = "POUR somme :n\nsi :n = 0 [ rends 0 ]\nrends :n + somme :n - 1\nFIN\n";
  ScriptedConsole console;
  RunResult result = RunProgram(sum + "ECRIS somme 1000000\n", console);
  EXPECT_EQ(result.outcome, Outcome::kCompleted) << result.message;
  EXPECT_EQ(console.output, "500000500000");

  // One that never ends reaches the bound, and the message blames the memory, not the program.
  result = RunProgram("POUR p :n\nrends 1 + p :n + 1\nFIN\nECRIS p 1\n", console);
  std::smatch depth;
  const std::string message = Utf8(result.message);
  ASSERT_TRUE(std::regex_match(message, depth, kMemoryFull)) << message;
  EXPECT_GT(std::stoi(depth[1]), 1'000'000);
  EXPECT_EQ(result.callLines.size(), static_cast<std::size_t>(std::stoi(depth[1])));
  EXPECT_EQ(result.line, 2);
}

TEST(RunProgram, HostileTextsGiveMessages) {
  const std::string texts[] = {
      std::string(5000, '('),
      std::string(5000, '['),
      "ECRIS " + std::string(3000, '-') + "1",
      "ECRIS 1" + std::string(30000, '+'),
      std::string("\0\xff]]) FIN POUR", 14),
      "remplace :L [1] [1e15]",
      "ECRIS LISTEVARS 0 1 1e12",
      "POUR\nFIN\nPOUR p :a :a\nrends :a\nFIN\nECRIS p 1 2",
  };
  for (const std::string& text : texts) {
    ScriptedConsole console;
    RunOptions options;
    options.limits.maxSteps = 100000;
    const RunResult result = RunProgram(text, console, options);
    EXPECT_EQ(result.outcome == Outcome::kCompleted, result.message.empty()) << text.substr(0, 40);
  }
}

// The support procedures on the source's list 0 7 3 9 1 5 (elements 0 to 5), counted as the
// source counts; tests/run/support_values_test.cpp compares them over many more calls.
TEST(RunProgram, SupportProceduresComputeWhatTheirNamesSay) {
  struct Call {
    const char* call;
    std::string result;  // UTF-8: what was written, then the error after " | "
  };
  const Call calls[] = {
      {"fact 5", "120"},
      {"PSEUDAL_FACTORIELLE ( 4 )", "24"},
      {"PSEUDAL_COEFF_BINOMIAL 5 2", "10"},
      {"PSEUDAL_LOI_BINOMIALE 4 0.5 2", "0,375"},
      {"PSEUDAL_LOI_NORMALE_CR 1", "0,841344746068543"},
      {"PSEUDAL_INVERSE_LOI_NORMALE 100 15 0,975", "129,399459768101"},
      {"PSEUDAL_SOMME :L 1 5", "25"},
      {"PSEUDAL_VARIANCE :L 1 5", "8"},
      {"PSEUDAL_MEDIANE :L 0 5", "4"},        // sorted 0 1 3 5 7 9
      {"PSEUDAL_QUARTILE1_BIS :L 1 5", "2"},  // lower half 1 3
      {"PSEUDAL_MAXIMUM :L 2 5", "9"},
      {"PSEUDAL_POS_MAXIMUM :L 1 5", "3"},
      {"substr \"bonjour 1 3", "onj"},
      {"PSEUDAL_MAX 2 ( - 3 )", "2"},
      {"PSEUDAL_INVERSE_LOI_NORMALE 1 1 1",
       "PSEUDAL_INVERSE_LOI_NORMALE : la probabilité 1 n'est pas strictement entre 0 et 1.\n | "
       "« PSEUDAL_INVERSE_LOI_NORMALE » n'a pas rendu de valeur."},
      {"PSEUDAL_MINIMUM :L 4 6", "1"},  // cut at the last element: 1 5
      {"PSEUDAL_MINIMUM :L 6 7",
       "PSEUDAL_MINIMUM : les rangs 6 à 7 sortent de la liste de 6 éléments.\n | "
       "« PSEUDAL_MINIMUM » n'a pas rendu de valeur."},
  };
  std::string procedures;
  for (int position = 1; position <= library::kSupportProcedureCount; ++position) {
    library::AppendSupportProcedure(position, "", procedures);
  }
  for (const Call& call : calls) {
    SCOPED_TRACE(call.call);
    const std::string program =
        procedures + Cp("remplace :L [7] [1]\r\nremplace :L [3] [2]\r\nremplace :L [9] [3]\r\n"
                        "remplace :L [1] [4]\r\nremplace :L [5] [5]\r\nECRIS " +
                        std::string(call.call) + "\r\n");
    ScriptedConsole console;
    const RunResult result = RunProgram(program, console);
    EXPECT_EQ(Utf8(console.output + (result.message.empty() ? "" : " | " + result.message)),
              call.result);
  }
}

}  // namespace
}  // namespace tortuval::run
