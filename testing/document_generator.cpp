#include "testing/document_generator.h"

#include <algorithm>
#include <array>
#include <random>
#include <vector>

namespace tortuval::generator {
namespace {

// Expression shapes met in the built-in examples and the editor's help, with slots filled per
// use: {n} and {m} number variables, {l} a list, {c} a small whole number.
constexpr std::array<std::string_view, 9> kConditions = {
    "{n}*{n}+{m}*{m}&lt;1",
    "{n}%2==0",
    "abs({n}-{m})>1e-8",
    "{l}[{n}+1]&lt;{l}[{n}]",
    "{n}>0 ET {m}&lt;={c}",
    "{n}!={m} OU {n}==0",
    "F1({n})*F1({m})>0",
    "{l}[{n}]>={c} ET {l}[{n}]&lt;={m}",
    "PSEUDAL_MOYENNE({l},1,{c})>{n}",
};

constexpr std::array<std::string_view, 18> kValues = {
    "floor(random()*20+1)",
    "{n}+1",
    "({n}+{m})/2",
    "pow({n},3)-3*pow({n},2)",
    "sqrt({n}*{n}+{m}*{m})",
    "{l}[{n}]+{c}",
    "Math.PI*{n}*{n}",
    "round({n}*100)/100",
    "{n}+{m}/2*(F1({n}+{c}*{m})+F1({n}+({c}+1)*{m}))",
    "F2({n},{m})",
    "PSEUDAL_SOMME({l},1,{c})",
    "PSEUDAL_POS_MINIMUM({l},{n},{c})",
    "PSEUDAL_FACTORIELLE({c})",
    "PSEUDAL_LOI_NORMALE_CR({n})",
    "{n}%{c}",
    "(1/(sqrt(2*Math.PI)))*exp(-.5*{n}*{n})",
    "floor(6*random()+1)+floor(6*random()+1)+floor(6*random()+1)",
    "{l}[{n}+1]-{l}[{n}]",
};

constexpr std::array<std::string_view, 6> kTexts = {
    " -> ", "Apr\xE8s le tri :", "  r\xE9sultat = ", " &lt;= racine &lt;= ", "  ", "valeur de x : ",
};

constexpr std::array<std::string_view, 20> kBaseNames = {
    "x",  "y",    "a",   "b",   "n",    "somme",  "pas",      "xA",    "yA",  "xB",
    "yB", "temp", "min", "max", "aire", "approx", "compteur", "issue", "mot", "reste",
};

// Statement kinds in the order the generator cycles through them.
enum class Kind {
  kRead,
  kShowVariable,
  kShowListElement,
  kShowText,
  kAssign,
  kIf,
  kAssignListElement,
  kFor,
  kShowValue,
  kIfElse,
  kAssignWord,
  kWhile,
  kPause,
  kComment,
  kSegment,
  kPoint,
  kGraphics,
  kReadListElement,
};
constexpr int kKindCount = 18;

class Generator {
 public:
  explicit Generator(const GeneratorOptions& options) : options_(options), random_(options.seed) {
    const int count = std::max(options.variableCount, 3);
    for (int i = 0; i < count; ++i) {
      std::string name(kBaseNames[static_cast<std::size_t>(i) % kBaseNames.size()]);
      if (i >= static_cast<int>(kBaseNames.size())) name += std::to_string(i);
      // Every fifth is a list and every seventh a word; the first ones stay numbers.
      if (i % 5 == 4) {
        name += "L";
        lists_.push_back(name);
      } else if (i % 7 == 6) {
        name += "W";
        words_.push_back(name);
      } else {
        numbers_.push_back(name);
      }
    }
    if (lists_.empty()) lists_.push_back(numbers_.back());
    if (words_.empty()) words_.push_back(numbers_.back());
  }

  std::string Run() {
    std::string document = DocumentHeader(options_.withFunctions);
    document.reserve(options_.targetBytes + 4096);
    AppendBlockOpen(document, "VARIABLES", "100#declarationsvariables");
    for (const auto* group : {&numbers_, &lists_, &words_}) {
      const std::string_view type = group == &numbers_ ? "NOMBRE"
                                    : group == &lists_ ? "LISTE"
                                                       : "CHAINE";
      for (const std::string& name : *group) {
        AppendItem(document, name + " EST_DU_TYPE " + std::string(type),
                   "1#" + std::string(type) + "#" + name);
      }
    }
    AppendBlockClose(document);
    AppendBlockOpen(document, "DEBUT_ALGORITHME", "101#debutalgo");
    const std::string_view footer =
        "  <item algoitem=\"FIN_ALGORITHME\" code=\"102#finalgo\"/>\r\n";
    int statement = 0;
    while (document.size() + footer.size() + DocumentFooter().size() < options_.targetBytes) {
      // Now and then a chain of blocks down to the deepest level, so that every depth occurs.
      if (statement % 64 == 0) {
        DeepChain(document, 0);
      } else {
        Statement(document, 0);
      }
      ++statement;
    }
    AppendBlockClose(document);
    document += footer;
    document += DocumentFooter();
    return document;
  }

 private:
  std::size_t Pick(std::size_t count) { return random_() % count; }
  const std::string& Number() { return numbers_[Pick(numbers_.size())]; }
  const std::string& List() { return lists_[Pick(lists_.size())]; }
  const std::string& Word() { return words_[Pick(words_.size())]; }

  // Fills the slots of an expression shape.
  std::string Fill(std::string_view shape) {
    std::string out;
    for (std::size_t i = 0; i < shape.size(); ++i) {
      if (shape[i] == '{' && i + 2 < shape.size() && shape[i + 2] == '}') {
        switch (shape[i + 1]) {
          case 'n':
            out += Number();
            break;
          case 'm':
            out += Number();
            break;
          case 'l':
            out += List();
            break;
          default:
            out += std::to_string(2 + Pick(19));
            break;
        }
        i += 2;
      } else {
        out += shape[i];
      }
    }
    return out;
  }
  std::string Condition() { return Fill(kConditions[Pick(kConditions.size())]); }
  std::string Value() { return Fill(kValues[Pick(kValues.size())]); }

  // The body of a block: a few statements, more blocks only above the deepest level.
  void Body(std::string& document, int depth) {
    const std::size_t count = 2 + Pick(4);
    for (std::size_t i = 0; i < count; ++i) Statement(document, depth);
  }

  void DeepChain(std::string& document, int depth) {
    if (depth >= options_.maxDepth) {
      Statement(document, depth);
      return;
    }
    switch (depth % 3) {
      case 0:
        If(document, depth, false, [&] { DeepChain(document, depth + 1); });
        break;
      case 1:
        if (options_.withCountedLoops) {
          For(document, depth, [&] { DeepChain(document, depth + 1); });
        } else {
          If(document, depth, true, [&] { DeepChain(document, depth + 1); });
        }
        break;
      default:
        While(document, depth, [&] { DeepChain(document, depth + 1); });
        break;
    }
  }

  template <typename Inner>
  void If(std::string& document, int /*depth*/, bool withElse, Inner inner) {
    const std::string condition = Condition();
    AppendBlockOpen(document, "SI (" + condition + ") ALORS", "6#" + condition);
    AppendItem(document, "DEBUT_SI", "7#debutsi");
    inner();
    AppendItem(document, "FIN_SI", "8#finsi");
    if (withElse) {
      AppendBlockOpen(document, "SINON", "9#sinon");
      AppendItem(document, "DEBUT_SINON", "10#debutsinon");
      inner();
      AppendItem(document, "FIN_SINON", "11#finsinon");
      AppendBlockClose(document);
    }
    AppendBlockClose(document);
  }

  template <typename Inner>
  void For(std::string& document, int /*depth*/, Inner inner) {
    const std::string variable = Number();
    const std::string end = Pick(2) == 0 ? std::to_string(2 + Pick(100)) : Number() + "-1";
    AppendBlockOpen(document, "POUR " + variable + " ALLANT_DE 1 A " + end,
                    "12#" + variable + "#1#" + end);
    AppendItem(document, "DEBUT_POUR", "13#debutpour");
    inner();
    AppendItem(document, "FIN_POUR", "14#finpour");
    AppendBlockClose(document);
  }

  template <typename Inner>
  void While(std::string& document, int /*depth*/, Inner inner) {
    const std::string condition = Condition();
    AppendBlockOpen(document, "TANT_QUE (" + condition + ") FAIRE", "15#" + condition);
    AppendItem(document, "DEBUT_TANT_QUE", "16#debuttantque");
    inner();
    AppendItem(document, "FIN_TANT_QUE", "17#fintantque");
    AppendBlockClose(document);
  }

  void Statement(std::string& document, int depth) {
    const auto kind = static_cast<Kind>(nextKind_);
    nextKind_ = (nextKind_ + 1) % kKindCount;
    const bool nest = depth < options_.maxDepth;
    const auto body = [&] { Body(document, depth + 1); };
    switch (kind) {
      case Kind::kRead: {
        const std::string& name = Number();
        AppendItem(document, "LIRE " + name, "2#" + name + "#pasliste");
        break;
      }
      case Kind::kReadListElement: {
        const std::string& name = List();
        const std::string index = std::to_string(1 + Pick(10));
        AppendItem(document, "LIRE " + name + "[" + index + "]", "2#" + name + "#" + index);
        break;
      }
      case Kind::kShowVariable: {
        const std::string& name = Number();
        AppendItem(document, "AFFICHER " + name,
                   "3#" + name + "#" + std::to_string(Pick(2)) + "#pasliste");
        break;
      }
      case Kind::kShowListElement: {
        const std::string& list = List();
        const std::string& index = Number();
        AppendItem(document, "AFFICHER " + list + "[" + index + "]", "3#" + list + "#0#" + index);
        break;
      }
      case Kind::kShowValue: {
        const std::string& name = Number();
        AppendItem(document, "AFFICHERCALCUL " + name, "20#" + name + "#1#pasliste");
        break;
      }
      case Kind::kShowText: {
        const std::string_view text = kTexts[Pick(kTexts.size())];
        AppendItem(document, "AFFICHER &quot;" + std::string(text) + "&quot;",
                   "4#" + std::string(text) + "#" + std::to_string(Pick(2)));
        break;
      }
      case Kind::kAssign: {
        const std::string& name = Number();
        const std::string value = Value();
        AppendItem(document, name + " PREND_LA_VALEUR " + value,
                   "5#" + name + "#" + value + "#pasliste");
        break;
      }
      case Kind::kAssignListElement: {
        const std::string& list = List();
        const std::string& index = Number();
        const std::string value = Value();
        AppendItem(document, list + "[" + index + "] PREND_LA_VALEUR " + value,
                   "5#" + list + "#" + value + "#" + index);
        break;
      }
      case Kind::kAssignWord: {
        const std::string& word = Word();
        // One call per statement: the order in which operands are evaluated is unspecified.
        std::string value = "&quot;r\xE9sultat&quot;";
        if (Pick(2) != 0) {
          value = Word();
          value += ".substr(0," + Number() + ")";
        }
        AppendItem(document, word + " PREND_LA_VALEUR " + value,
                   "5#" + word + "#" + value + "#pasliste");
        break;
      }
      case Kind::kIf:
        if (nest) If(document, depth, false, body);
        break;
      case Kind::kIfElse:
        if (nest) If(document, depth, true, body);
        break;
      case Kind::kFor:
        if (!nest) break;
        if (options_.withCountedLoops) {
          For(document, depth, body);
        } else {
          While(document, depth, body);
        }
        break;
      case Kind::kWhile:
        if (nest) While(document, depth, body);
        break;
      case Kind::kPause:
        AppendItem(document, "PAUSE", "18#pause");
        break;
      case Kind::kComment:
        AppendItem(document, "//calcul de la valeur suivante", "19#calcul de la valeur suivante");
        break;
      case Kind::kSegment: {
        const std::string xA = Number();
        const std::string yA = Number();
        AppendItem(document,
                   "TRACER_SEGMENT (" + xA + "," + yA + ")->(" + xA + "+1,F1(" + xA + "))",
                   "51#" + xA + "#" + yA + "#" + xA + "+1#F1(" + xA + ")#Rouge");
        break;
      }
      case Kind::kPoint: {
        const std::string x = Number();
        AppendItem(document, "TRACER_POINT (" + x + ",F1(" + x + "))",
                   "50#" + x + "#F1(" + x + ")#Bleu");
        break;
      }
      case Kind::kGraphics:
        AppendItem(document, "TRACER_POINT", "52#" + Number() + "#Vert");
        break;
    }
  }

  const GeneratorOptions& options_;
  std::mt19937 random_;
  std::vector<std::string> numbers_;
  std::vector<std::string> lists_;
  std::vector<std::string> words_;
  int nextKind_ = 0;
};

}  // namespace

void AppendItem(std::string& document, std::string_view readable, std::string_view code) {
  document += "<item algoitem=\"";
  document += readable;
  document += "\" code=\"";
  document += code;
  document += "\"/>\r\n";
}

void AppendBlockOpen(std::string& document, std::string_view readable, std::string_view code) {
  document += "<item algoitem=\"";
  document += readable;
  document += "\" code=\"";
  document += code;
  document += "\">\r\n";
}

void AppendBlockClose(std::string& document) { document += "</item>\r\n"; }

std::string DocumentHeader(bool withFunctions) {
  std::string header =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Algo>\r\n"
      "<description texte=\"Document g\xE9n\xE9r\xE9 pour mesurer la conversion&#xa;(toutes les "
      "instructions)\" courant=\"FIN_ALGORITHME\"/>\r\n";
  if (withFunctions) {
    header +=
        "<fonction fctcode=\"pow(x,3)-3*pow(x,2)\" fctetat=\"actif\"/>\r\n"
        "<F2 F2defaut=\"F2(p,q-p)\" F2lignes=\"p==0@q#q==0@p#q&lt;=p@F2(p-q,q)#\" "
        "F2etat=\"actif\" F2para=\"p,q\"/>\r\n";
  } else {
    header +=
        "<fonction fctcode=\"\" fctetat=\"inactif\"/>\r\n"
        "<F2 F2defaut=\"\" F2lignes=\"\" F2etat=\"inactif\" F2para=\"\"/>\r\n";
  }
  header += "<repere repetat=\"actif\" repcode=\"-10#10#-10#10#2#2\"/>\r\n";
  return header;
}

std::string_view DocumentFooter() { return "</Algo>\r\n"; }

std::string GenerateDocument(const GeneratorOptions& options) { return Generator(options).Run(); }

}  // namespace tortuval::generator
