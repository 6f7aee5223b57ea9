// Conversion speed: generated documents of 1, 8 and 64 MB, the 8 MB one also with the check of
// its program and the check alone, each built-in example, and the expression translator with 0, 10,
// 40 and 1000 declared variables.

#include <benchmark/benchmark.h>

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "base/cp1252.h"
#include "convert/conversion.h"
#include "examples/example_catalogue.h"
#include "expr/translate_expression.h"
#include "logo/checker.h"
#include "testing/document_generator.h"

namespace tortuval::bench {
namespace {

// One document per size and shape, generated once for all the runs that use it.
const std::string& GeneratedDocument(std::int64_t megabytes, bool withCountedLoops) {
  static std::map<std::pair<std::int64_t, bool>, std::string> documents;
  auto [it, inserted] = documents.try_emplace({megabytes, withCountedLoops});
  if (inserted) {
    generator::GeneratorOptions options;
    options.targetBytes = static_cast<std::size_t>(megabytes) << 20;
    options.withCountedLoops = withCountedLoops;
    it->second = generator::GenerateDocument(options);
  }
  return it->second;
}

// Arguments: size in MB, and 1 for the documents with POUR loops, 0 for the same documents with
// TANT_QUE blocks in their place (every POUR adds its counter to the function's variables, which
// each later expression is matched against: the two kinds show whether that list stays cheap).
void BM_ConvertGenerated(benchmark::State& state) {
  const std::string& document = GeneratedDocument(state.range(0), state.range(1) != 0);
  std::size_t outputBytes = 0;
  for (auto _ : state) {
    const convert::ConversionResult result = convert::ConvertDocument(document);
    outputBytes = result.logoText.size() + result.listingText.size();
    benchmark::DoNotOptimize(result.logoText.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(document.size()));
  state.counters["output_MB"] = static_cast<double>(outputBytes) / (1 << 20);
}
BENCHMARK(BM_ConvertGenerated)
    ->ArgsProduct({{1, 8, 64}, {1, 0}})
    ->ArgNames({"MB", "loops"})
    ->Unit(benchmark::kMillisecond);

// The conversion followed by the check of its program, to be read next to BM_ConvertGenerated
// with the same arguments: the difference is what the check costs.
void BM_ConvertAndCheckGenerated(benchmark::State& state) {
  const std::string& document = GeneratedDocument(state.range(0), state.range(1) != 0);
  std::size_t findings = 0;
  for (auto _ : state) {
    const convert::ConversionResult result = convert::ConvertDocument(document);
    findings = logo::CheckProgram(result.logoText).size();
    benchmark::DoNotOptimize(result.logoText.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(document.size()));
  state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_ConvertAndCheckGenerated)
    ->ArgsProduct({{8}, {1, 0}})
    ->ArgNames({"MB", "loops"})
    ->Unit(benchmark::kMillisecond);

// The check alone, on the program converted from the same document: its time is read against
// BM_ConvertGenerated's with the same arguments. Long programs are read on several threads.
void BM_CheckGenerated(benchmark::State& state) {
  const std::string program =
      convert::ConvertDocument(GeneratedDocument(state.range(0), state.range(1) != 0)).logoText;
  std::size_t findings = 0;
  for (auto _ : state) {
    findings = logo::CheckProgram(program).size();
    benchmark::DoNotOptimize(findings);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(program.size()));
  state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_CheckGenerated)
    ->ArgsProduct({{8}, {1, 0}})
    ->ArgNames({"MB", "loops"})
    ->Unit(benchmark::kMillisecond);

void BM_ConvertExample(benchmark::State& state) {
  const std::string& document = examples::ExampleDocument(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const convert::ConversionResult result = convert::ConvertDocument(document);
    benchmark::DoNotOptimize(result.logoText.data());
  }
  state.SetLabel(base::Cp1252ToUtf8(examples::ExampleCaption(static_cast<int>(state.range(0)))));
}
BENCHMARK(BM_ConvertExample)
    ->DenseRange(0, examples::kExampleCount - 1)
    ->Unit(benchmark::kMicrosecond);

// Expressions as the examples write them, already repaired ("&lt;" spaced, "sqrt" as " rac2 ").
constexpr std::array<std::string_view, 8> kExpressions = {
    "floor(random()*20+1)",
    "x*x+y*y < 1",
    "approxintegrale+pas/2*(F1(a+i*pas)+F1(a+(i+1)*pas))",
    "listeatrier[j+1] < listeatrier[j]",
    "(1/( rac2 (2*Math.PI)))*exp(-.5*x*x)",
    "PSEUDAL_POS_MINIMUM(listenombre,i+1,ntermes)",
    "abs(y-x)>1e-8",
    "U[i]>=min ET U[i] <= max",
};

// " name code" entries: the names the expressions use first, then filler names.
std::string VariableList(int count) {
  constexpr std::array<std::string_view, 20> kNames = {
      "x",           "y",       "a",           "i",  "j",   "pas", "approxintegrale",
      "listeatrier", "ntermes", "listenombre", "U",  "min", "max", "somme",
      "n",           "b",       "temp",        "xA", "yA",  "mot"};
  std::string list;
  for (int index = 0; index < count; ++index) {
    std::string name(kNames[static_cast<std::size_t>(index) % kNames.size()]);
    if (index >= static_cast<int>(kNames.size())) name += std::to_string(index);
    const bool isList = name.starts_with("liste") || name == "U";
    list += " " + name + (isList ? " 2" : " 1");
  }
  return list;
}

// The lists are indexed once, as the converter keeps them while they grow.
void BM_TranslateExpression(benchmark::State& state) {
  const std::string globals = VariableList(static_cast<int>(state.range(0)));
  expr::VariableIndex functionIndex(expr::Case::kSensitive, true);
  expr::VariableIndex globalIndex(expr::Case::kInsensitive, false);
  globalIndex.Extend(globals);
  expr::ExpressionContext context;
  context.functionVariables = &functionIndex;
  context.globalVariables = &globalIndex;
  std::size_t index = 0;
  for (auto _ : state) {
    std::string result =
        expr::TranslateExpression(kExpressions[index], expr::ExpressionKind::kPlain, context);
    benchmark::DoNotOptimize(result.data());
    index = (index + 1) % kExpressions.size();
  }
}
BENCHMARK(BM_TranslateExpression)->Arg(0)->Arg(10)->Arg(40)->Arg(1000);

}  // namespace
}  // namespace tortuval::bench

BENCHMARK_MAIN();
