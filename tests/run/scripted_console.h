#pragma once
// A console for the runtime's tests: answers given in advance, everything written kept.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "run/runtime.h"

namespace tortuval::run {

class ScriptedConsole : public Console {
 public:
  explicit ScriptedConsole(std::vector<std::string> answers = {}) : answers_(std::move(answers)) {}

  void Write(std::string_view text) override { output += text; }
  std::optional<std::string> ReadAnswer(std::string_view prompt) override {
    prompts.emplace_back(prompt);
    if (next_ >= answers_.size()) return std::nullopt;
    return answers_[next_++];
  }
  void ClearText() override { output.clear(); }
  void ShowDrawing(const Drawing&) override { ++drawingsShown; }

  std::string output;
  std::vector<std::string> prompts;
  int drawingsShown = 0;

 private:
  std::vector<std::string> answers_;
  std::size_t next_ = 0;
};

}  // namespace tortuval::run
