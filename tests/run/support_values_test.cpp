// The support procedures run against computations of their own: for each, a program of at least
// 200 calls (random arguments over the whole range, lists and stretches of every shape) whose
// printed results are compared with long double references within the error each procedure
// promises; then the runs they must stop, and the reading procedures with scripted answers.

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "library/support_procedures.h"
#include "run/runtime.h"
#include "tests/run/scripted_console.h"
#include "tests/test_support.h"

namespace tortuval::run {
namespace {

using testing::Cp;
using testing::Utf8;

constexpr int kCalls = 200;

std::string AllProcedures() {
  std::string text;
  for (int position = 1; position <= library::kSupportProcedureCount; ++position) {
    library::AppendSupportProcedure(position, "", text);
  }
  return text;
}

/// What a program made of the support procedures and `mainPart` (UTF-8) prints, and how it
/// ends; the message (UTF-8) follows the output after " | " when the run does not complete.
std::string RunWith(const std::string& mainPart, const std::vector<std::string>& answers = {}) {
  static const std::string procedures = AllProcedures();
  std::vector<std::string> cp;
  for (const std::string& answer : answers) cp.push_back(Cp(answer));
  ScriptedConsole console(cp);
  const RunResult result = RunProgram(procedures + Cp(mainPart), console);
  std::string seen = Utf8(console.output);
  if (result.outcome != Outcome::kCompleted) seen += " | " + Utf8(result.message);
  return seen;
}

/// A number as the program text writes it: the shortest fixed form that reads back as itself.
std::string Literal(double x) {
  char buffer[400];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x), std::chars_format::fixed).ptr;
  return (x < 0 ? "( - " : "") + std::string(buffer, end) + (x < 0 ? " )" : "");
}

/// One program of calls, each printing one number, and the values they should print.
class Batch {
 public:
  void Add(const std::string& call, long double expected, long double allowed) {
    program_ += "ECRISLIGNE " + call + "\n";
    calls_.push_back(call);
    expected_.push_back(expected);
    allowed_.push_back(allowed);
  }
  void Before(const std::string& line) { program_ += line + "\n"; }

  /// Runs the calls and compares; returns the largest error seen.
  long double Check() const {
    const std::string output = RunWith(program_);
    std::istringstream lines(output);
    long double worst = 0;
    std::size_t i = 0;
    for (std::string line; std::getline(lines, line) && i < calls_.size(); ++i) {
      std::replace(line.begin(), line.end(), ',', '.');
      char* end = nullptr;
      const long double got = std::strtold(line.c_str(), &end);
      EXPECT_TRUE(end != line.c_str() && *end == '\0') << calls_[i] << " printed " << line;
      const long double error = std::fabs(got - expected_[i]);
      const bool same = got == expected_[i] || (std::isnan(got) && std::isnan(expected_[i]));
      EXPECT_TRUE(same || error <= allowed_[i])
          << calls_[i] << "\n  printed " << line << ", expected "
          << static_cast<double>(expected_[i]) << " within " << static_cast<double>(allowed_[i]);
      if (std::isfinite(error)) worst = std::max(worst, error);
    }
    EXPECT_EQ(i, calls_.size()) << "the run ended early: " << output.substr(output.rfind('\n') + 1);
    return worst;
  }

 private:
  std::string program_;
  std::vector<std::string> calls_;
  std::vector<long double> expected_;
  std::vector<long double> allowed_;
};

long double Phi(long double x) { return 0.5L * std::erfc(-x / std::sqrt(2.0L)); }

// The x with Phi(x) = p, by bisection: for p above one half, minus that of 1 - p, which is
// exact in doubles and keeps the upper tail as accurate as the lower one.
long double InversePhi(double p) {
  if (p > 0.5) return -InversePhi(1.0 - p);
  long double low = -40;
  long double high = 0;
  for (int step = 0; step < 200; ++step) {
    const long double middle = (low + high) / 2;
    (Phi(middle) < p ? low : high) = middle;
  }
  return (low + high) / 2;
}

long double LogChoose(int n, int k) {
  return std::lgamma(n + 1.0L) - std::lgamma(k + 1.0L) - std::lgamma(n - k + 1.0L);
}

TEST(SupportValues, FactorialAndBinomials) {
  std::mt19937 random(18);
  Batch factorial;
  for (int i = 0; i < kCalls; ++i) {
    const int n = i % 171;  // 170! is the last below the largest double
    long double exact = 1;
    for (int j = 2; j <= n; ++j) exact *= j;
    factorial.Add((i % 2 ? "PSEUDAL_FACTORIELLE " : "fact ") + std::to_string(n), exact,
                  exact * 1e-13L);
  }
  factorial.Check();

  // Exact up to n = 50 (below 10^15, so printed whole), then within 1e-12 of the value.
  Batch coefficient;
  std::vector<std::vector<std::uint64_t>> pascal(51);
  for (int n = 0; n <= 50; ++n) {
    pascal[n].assign(n + 1, 1);
    for (int k = 1; k < n; ++k) pascal[n][k] = pascal[n - 1][k - 1] + pascal[n - 1][k];
  }
  for (int i = 0; i < kCalls; ++i) {
    const int n = i < 100 ? static_cast<int>(random() % 51) : static_cast<int>(random() % 1001);
    const int k = static_cast<int>(random() % (n + 5)) - 2;
    const std::string call = "PSEUDAL_COEFF_BINOMIAL " + std::to_string(n) + " " + Literal(k);
    if (k < 0 || k > n) {
      coefficient.Add(call, 0, 0);
    } else if (n <= 50) {
      coefficient.Add(call, static_cast<long double>(pascal[n][k]), 0);
    } else {
      const long double value = std::exp(LogChoose(n, k));
      coefficient.Add(call, value, value * 1e-12L);
    }
  }
  coefficient.Check();

  // The law over whole ranges of n, p and k, certain laws (p = 0 or 1) included.
  Batch law;
  for (int i = 0; i < kCalls; ++i) {
    const int n = static_cast<int>(random() % (i < 100 ? 30 : 3001));
    const int k = static_cast<int>(random() % (n + 3)) - 1;
    const double p = i % 20 == 0 ? 0.0 : i % 20 == 1 ? 1.0 : (random() % 1000001) / 1e6;
    long double value = 0;
    if (k >= 0 && k <= n) {
      if (p == 0 || p == 1) {
        value = k == (p == 0 ? 0 : n) ? 1 : 0;
      } else {
        value = std::exp(LogChoose(n, k) + k * std::log(static_cast<long double>(p)) +
                         (n - k) * std::log1p(-static_cast<long double>(p)));
      }
    }
    law.Add("PSEUDAL_LOI_BINOMIALE " + std::to_string(n) + " " + Literal(p) + " " + Literal(k),
            value, value * 1e-11L + 1e-300L);
  }
  law.Check();
}

TEST(SupportValues, NormalLawsWithin1e10) {
  std::mt19937_64 random(4);
  std::uniform_real_distribution<double> wide(-40, 40);
  std::uniform_real_distribution<double> near(-9, 9);
  Batch centred;
  const double edges[] = {0, 3, -3, 2.999999, -3.000001, 8.5, -8.5, 40, -40, 38.5};
  for (int i = 0; i < kCalls; ++i) {
    const double x = i < 10 ? edges[i] : i % 2 ? wide(random) : near(random);
    centred.Add("PSEUDAL_LOI_NORMALE_CR " + Literal(x), Phi(x), 1e-10L);
  }
  centred.Check();

  // The lower tail also keeps its relative accuracy, which the inverse law relies on.
  Batch tail;
  for (int i = 0; i < kCalls; ++i) {
    const double x = -std::uniform_real_distribution<double>(0, 37)(random);
    tail.Add("PSEUDAL_LOI_NORMALE_CR " + Literal(x), Phi(x), Phi(x) * 1e-13L);
  }
  tail.Check();

  Batch general;
  for (int i = 0; i < kCalls; ++i) {
    const double mean = std::round(std::uniform_real_distribution<double>(-100, 100)(random));
    const double deviation = i % 10 == 0 ? 0 : (1 + random() % 5000) / 100.0;
    const double x =
        i % 10 == 0 ? mean + (i % 20 == 0 ? 0 : -1e-6) : mean + deviation * near(random);
    const long double expected = deviation == 0
                                     ? (x >= mean ? 1 : 0)
                                     : Phi((static_cast<long double>(x) - mean) / deviation);
    general.Add(
        "PSEUDAL_LOI_NORMALE " + Literal(mean) + " " + Literal(deviation) + " " + Literal(x),
        expected, 1e-10L);
  }
  general.Check();
}

TEST(SupportValues, InverseNormalLawsWithin1e9) {
  std::mt19937_64 random(9);
  Batch centred;
  const double edges[] = {0.5, 1e-12, 1 - 1e-12, 0.975, 0.025, 1e-6, 0.999999};
  for (int i = 0; i < kCalls; ++i) {
    double p = 0;
    if (i < 7) {
      p = edges[i];
    } else if (i % 3 == 0) {
      p = std::pow(10.0, -std::uniform_real_distribution<double>(0.3, 12)(random));
    } else if (i % 3 == 1) {
      p = 1 - std::pow(10.0, -std::uniform_real_distribution<double>(0.3, 12)(random));
    } else {
      p = std::uniform_real_distribution<double>(0, 1)(random);
    }
    centred.Add("PSEUDAL_INVERSE_LOI_NORMALE_CR " + Literal(p), InversePhi(p), 1e-9L);
  }
  centred.Check();

  Batch general;
  for (int i = 0; i < kCalls; ++i) {
    const double mean = std::round(std::uniform_real_distribution<double>(-100, 100)(random));
    const double deviation = (1 + random() % 1000) / 100.0;
    const double p = i % 2 ? std::uniform_real_distribution<double>(1e-12, 1 - 1e-12)(random)
                           : std::pow(10.0, -std::uniform_real_distribution<double>(0, 12)(random));
    general.Add("PSEUDAL_INVERSE_LOI_NORMALE " + Literal(mean) + " " + Literal(deviation) + " " +
                    Literal(p),
                mean + deviation * InversePhi(p), deviation * 1e-9L);
  }
  general.Check();
}

/// The source's element i of the list is item i + 1. A stretch reaching past the list's last
/// element is cut there.
struct Stretch {
  std::vector<double> list;
  int p;
  int n;
  int Last() const { return std::min(n, static_cast<int>(list.size()) - 1); }
  std::vector<double> Items() const { return {list.begin() + p, list.begin() + Last() + 1}; }
  std::vector<double> Sorted() const {
    std::vector<double> items = Items();
    std::sort(items.begin(), items.end());
    return items;
  }
};

// Lists of 1 to 25 numbers, whole ones with many repeats or reals of two decimals, signs mixed;
// every eighth stretch is a single index, every third one ends 1 to 30 elements past the list.
Stretch RandomStretch(std::mt19937& random, int call) {
  Stretch s;
  const int size = 1 + static_cast<int>(random() % 25);
  const bool whole = random() % 2 == 0;
  for (int i = 0; i < size; ++i) {
    const int draw = static_cast<int>(random() % 2001) - 1000;
    s.list.push_back(whole ? draw % 7 : draw / 100.0);
  }
  s.p = static_cast<int>(random() % size);
  if (call % 3 == 2) {
    s.n = size + static_cast<int>(random() % 30);
  } else {
    s.n = random() % 8 == 0 ? s.p : s.p + static_cast<int>(random() % (size - s.p));
  }
  return s;
}

/// The instructions that put the stretch's list into :L.
std::string ListInto(const Stretch& s) {
  std::string line = "soit \"L [ ]";
  for (std::size_t i = 0; i < s.list.size(); ++i)
    line += " remplace :L [ " + Literal(s.list[i]) + " ] [ " + std::to_string(i) + " ]";
  return line;
}

long double MedianOf(const std::vector<double>& sorted, std::size_t from, std::size_t count) {
  if (count % 2 == 1) return sorted[from + count / 2];
  return (sorted[from + count / 2 - 1] + sorted[from + count / 2]) / 2;
}

TEST(SupportValues, StatisticsOfAStretch) {
  using Reference = std::function<long double(const Stretch&)>;
  const auto sum = [](const Stretch& s) {
    long double total = 0;
    for (const double x : s.Items()) total += x;
    return total;
  };
  const auto variance = [&](const Stretch& s) {
    const std::vector<double> items = s.Items();
    const long double mean = sum(s) / items.size();
    long double total = 0;
    for (const double x : items) total += (x - mean) * (x - mean);
    return total / items.size();
  };
  const auto position = [](const Stretch& s, bool smallest) {
    int best = s.p;
    for (int i = s.p + 1; i <= s.Last(); ++i) {
      if (smallest ? s.list[i] < s.list[best] : s.list[i] > s.list[best]) best = i;
    }
    return static_cast<long double>(best);
  };
  const struct {
    const char* name;
    Reference reference;
  } procedures[] = {
      {"PSEUDAL_SOMME", sum},
      {"PSEUDAL_MOYENNE", [&](const Stretch& s) { return sum(s) / s.Items().size(); }},
      {"PSEUDAL_VARIANCE", variance},
      {"PSEUDAL_ECART_TYPE", [&](const Stretch& s) { return std::sqrt(variance(s)); }},
      {"PSEUDAL_MEDIANE",
       [](const Stretch& s) { return MedianOf(s.Sorted(), 0, s.Sorted().size()); }},
      {"PSEUDAL_QUARTILE1",
       [](const Stretch& s) {
         const std::vector<double> sorted = s.Sorted();
         return static_cast<long double>(sorted[(sorted.size() + 3) / 4 - 1]);
       }},
      {"PSEUDAL_QUARTILE3",
       [](const Stretch& s) {
         const std::vector<double> sorted = s.Sorted();
         return static_cast<long double>(sorted[(3 * sorted.size() + 3) / 4 - 1]);
       }},
      {"PSEUDAL_QUARTILE1_BIS",
       [](const Stretch& s) {
         const std::vector<double> sorted = s.Sorted();
         if (sorted.size() == 1) return static_cast<long double>(sorted[0]);
         return MedianOf(sorted, 0, sorted.size() / 2);
       }},
      {"PSEUDAL_QUARTILE3_BIS",
       [](const Stretch& s) {
         const std::vector<double> sorted = s.Sorted();
         if (sorted.size() == 1) return static_cast<long double>(sorted[0]);
         const std::size_t half = sorted.size() / 2;
         return MedianOf(sorted, sorted.size() - half, half);
       }},
      {"PSEUDAL_MINIMUM",
       [](const Stretch& s) { return static_cast<long double>(s.Sorted().front()); }},
      {"PSEUDAL_MAXIMUM",
       [](const Stretch& s) { return static_cast<long double>(s.Sorted().back()); }},
      {"PSEUDAL_POS_MINIMUM", [&](const Stretch& s) { return position(s, true); }},
      {"PSEUDAL_POS_MAXIMUM", [&](const Stretch& s) { return position(s, false); }},
  };
  std::mt19937 random(27);
  for (const auto& procedure : procedures) {
    SCOPED_TRACE(procedure.name);
    Batch batch;
    for (int i = 0; i < kCalls; ++i) {
      const Stretch s = RandomStretch(random, i);
      long double scale = 0;
      for (const double x : s.list) scale = std::max<long double>(scale, std::fabs(x));
      batch.Before(ListInto(s));
      batch.Add(
          std::string(procedure.name) + " :L " + std::to_string(s.p) + " " + std::to_string(s.n),
          procedure.reference(s), 1e-12L * (1 + scale * scale));
    }
    batch.Check();
  }
}

// The statistics asked inside the loop that fills the list, as documents do: each pass sees the
// elements read so far.
TEST(SupportValues, StatisticsOfAListBeingFilled) {
  EXPECT_EQ(RunWith("soit \"L [ ]\nREPETE 4 [\n  remplace :L [ 3 * boucle ] [ boucle - 1 ]\n"
                    "  ECRIS PSEUDAL_MAXIMUM :L 0 3 ECRIS [ / ] ECRIS PSEUDAL_POS_MAXIMUM :L 0 3\n"
                    "  ECRIS [ / ] ECRISLIGNE PSEUDAL_MOYENNE :L 0 3\n]\n"),
            "3/0/3\n6/1/4,5\n9/2/6\n12/3/7,5\n");
}

TEST(SupportValues, LargerAndSmallerOfTwo) {
  std::mt19937 random(2);
  Batch larger;
  Batch smaller;
  for (int i = 0; i < kCalls; ++i) {
    const double a = static_cast<int>(random() % 21) - 10;
    const double b = i % 10 == 0 ? a : static_cast<int>(random() % 2001) / 100.0 - 10;
    const std::string inputs = " " + Literal(a) + " " + Literal(b);
    larger.Add("PSEUDAL_MAX" + inputs, std::max(a, b), 1e-14L * (1 + std::fabs(std::max(a, b))));
    smaller.Add("PSEUDAL_MIN" + inputs, std::min(a, b), 1e-14L * (1 + std::fabs(std::min(a, b))));
  }
  larger.Check();
  smaller.Check();
}

TEST(SupportValues, StopsWithTheirMessage) {
  const std::string procedures[] = {
      "PSEUDAL_SOMME",         "PSEUDAL_MOYENNE",   "PSEUDAL_VARIANCE",  "PSEUDAL_ECART_TYPE",
      "PSEUDAL_MEDIANE",       "PSEUDAL_QUARTILE1", "PSEUDAL_QUARTILE3", "PSEUDAL_QUARTILE1_BIS",
      "PSEUDAL_QUARTILE3_BIS", "PSEUDAL_MINIMUM",   "PSEUDAL_MAXIMUM",   "PSEUDAL_POS_MINIMUM",
      "PSEUDAL_POS_MAXIMUM"};
  const std::string list = "soit \"L [ 4 8 15 16 23 ]\n";
  for (const std::string& name : procedures) {
    const std::string stop = " | « " + name + " » n'a pas rendu de valeur.";
    EXPECT_EQ(RunWith(list + "ECRIS " + name + " :L 3 2\n"),
              name + " : le rang de début 3 dépasse le rang de fin 2.\n" + stop);
    EXPECT_EQ(RunWith(list + "ECRIS " + name + " :L 5 9\n"),
              name + " : les rangs 5 à 9 sortent de la liste de 5 éléments.\n" + stop);
    EXPECT_EQ(RunWith(list + "ECRIS " + name + " :L ( - 1 ) 0\n"),
              name + " : les rangs -1 à 0 sortent de la liste de 5 éléments.\n" + stop);
    // The list given is left as it was.
    EXPECT_EQ(RunWith(list + "soit \"x " + name + " :L 0 4\nECRIS :L\n"), "4 8 15 16 23");
    EXPECT_EQ(RunWith(list + "soit \"x " + name + " :L 1 9\nECRIS :L\n"), "4 8 15 16 23");
  }
  for (const char* p : {"0", "1", "( - 0,5 )", "1,5"}) {
    SCOPED_TRACE(p);
    const std::string shown = p[0] == '(' ? "-0,5" : p;
    EXPECT_EQ(RunWith(std::string("ECRIS PSEUDAL_INVERSE_LOI_NORMALE_CR ") + p + "\n"),
              "PSEUDAL_INVERSE_LOI_NORMALE_CR : la probabilité " + shown +
                  " n'est pas strictement entre 0 et 1.\n"
                  " | « PSEUDAL_INVERSE_LOI_NORMALE_CR » n'a pas rendu de valeur.");
    EXPECT_EQ(RunWith(std::string("ECRIS PSEUDAL_INVERSE_LOI_NORMALE 10 2 ") + p + "\n"),
              "PSEUDAL_INVERSE_LOI_NORMALE : la probabilité " + shown +
                  " n'est pas strictement entre 0 et 1.\n"
                  " | « PSEUDAL_INVERSE_LOI_NORMALE » n'a pas rendu de valeur.");
  }
}

TEST(SupportValues, ReadingAWord) {
  const std::string read =
      "soit \"m PSEUDAL_LIRE_MOT\nECRIS card :m ECRIS [ : ] ECRIS :m ECRIS [ : ] "
      "ECRIS :m = \"oui \"\n";
  EXPECT_EQ(RunWith(read, {"oui"}), "3:oui:vrai");
  EXPECT_EQ(RunWith(read, {"  deux   mots  ici "}), "13:deux mots ici:faux");
  EXPECT_EQ(RunWith(read, {""}), "0::faux");
  EXPECT_EQ(RunWith(read, {"Été à 20 h"}), "10:Été à 20 h:faux");
}

TEST(SupportValues, ReadingIntoAList) {
  const std::string into5 = "soit \"L [ 5 6 7 8 9 ]\n";
  const std::string show = "ECRIS :L ECRIS [ : ] ECRIS card :L\n";
  // A longer list keeps the items after the values written, a shorter one grows.
  EXPECT_EQ(RunWith(into5 + "soit \"L PSEUDAL_LIRE_LISTE :L 1\n" + show, {"1:2:3"}), "5 1 2 3 9:5");
  EXPECT_EQ(RunWith("soit \"L [ 5 6 ]\nsoit \"L PSEUDAL_LIRE_LISTE :L 1\n" + show, {"1:2:3"}),
            "5 1 2 3:4");
  // Past the end: the positions skipped get 0.
  EXPECT_EQ(RunWith("soit \"L [ 5 ]\nsoit \"L PSEUDAL_LIRE_LISTE :L 3\n" + show, {"4"}),
            "5 0 0 4:4");
  EXPECT_EQ(RunWith("DEFINIS \"L LISTE\nsoit \"L PSEUDAL_LIRE_LISTE :L ( 1 + 1 )\n" + show, {"7"}),
            "0 0 7:3");
  // An empty answer writes nothing; the list given stays as it was.
  EXPECT_EQ(RunWith(into5 + "soit \"L PSEUDAL_LIRE_LISTE :L 2\n" + show, {""}), "5 6 7 8 9:5");
  EXPECT_EQ(
      RunWith(into5 + "soit \"M PSEUDAL_LIRE_LISTE :L 0\nECRIS :L ECRIS [ : ] ECRIS :M\n", {"1"}),
      "5 6 7 8 9:1 6 7 8 9");
  // Several words and pieces in order, empty pieces dropped; each piece is read as a number
  // ("4.0" is written back as 4). The answer with a piece "x" is refused and the next one read.
  EXPECT_EQ(RunWith(into5 + "soit \"L PSEUDAL_LIRE_LISTE :L 0\n" + show,
                    {"1,5:x::-2 4.0:", "1,5:7::-2 4.0:"}),
            "1,5 7 -2 4 9:5");
}

// A list read takes numbers only: an answer with a piece that is no number is refused whole,
// nothing of it written, and asked again with the reason a number read gives.
TEST(SupportValues, ReadingIntoAListRefusesWhatIsNoNumber) {
  const auto run = [](const std::string& mainPart, std::vector<std::string> answers) {
    ScriptedConsole console(std::move(answers));
    const RunResult result =
        RunProgram(AllProcedures() + Cp("ECL [Tape un nombre.] EFFL\n" + mainPart), console);
    EXPECT_EQ(result.outcome, Outcome::kCompleted) << Utf8(result.message);
    std::vector<std::string> prompts;
    for (const std::string& prompt : console.prompts) prompts.push_back(Utf8(prompt));
    return std::make_pair(Utf8(console.output), prompts);
  };
  const std::string intoList = "soit \"L [ 5 6 7 ]\nsoit \"L PSEUDAL_LIRE_LISTE :L 1\nECRIS :L\n";
  const auto [number, numberPrompts] = run("soit \"n LISNOMBRE\nECRIS :n\n", {"douze", "12"});
  const auto [list, listPrompts] = run(intoList, {"douze", "12"});
  EXPECT_EQ(number, "12");
  EXPECT_EQ(list, "5 12 7");
  EXPECT_EQ(listPrompts, numberPrompts);
  EXPECT_EQ(listPrompts.back(), "« douze » n'est pas un nombre : tapez un nombre.");

  // The first piece that is no number is named; "4" of the refused answer is not kept.
  const auto [mixed, mixedPrompts] = run(intoList, {"4:douze:x 6", "4:5:6"});
  EXPECT_EQ(mixed, "5 4 5 6");
  EXPECT_EQ(mixedPrompts.back(), "« douze » n'est pas un nombre : tapez un nombre.");
}

TEST(SupportValues, CharacterCodes) {
  const std::string word = "soit \"m \"aé b.5 \"\n";
  EXPECT_EQ(RunWith(word + "REPETE 6 [ ECRIS PSEUDAL_CODE_CARACTERE :m boucle - 1 ECRIS [   ] ]\n"),
            "97 233 32 98 46 53 ");
  EXPECT_EQ(RunWith(word + "ECRIS PSEUDAL_CODE_CARACTERE :m 6\n"),
            " | PSEUDAL_CODE_CARACTERE : La position lue 7 est hors de la liste (6 éléments).");
}

}  // namespace
}  // namespace tortuval::run
