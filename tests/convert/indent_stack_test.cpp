#include <gtest/gtest.h>

#include "convert/conversion_state.h"

namespace tortuval::convert {
namespace {

TEST(Indentation, IsAboutOnePointEightThreeTimesTheTopWidth) {
  EXPECT_EQ(IndentationWidth(0), 0);
  EXPECT_EQ(IndentationWidth(1), 1);
  EXPECT_EQ(IndentationWidth(8), 14);
  EXPECT_EQ(IndentationWidth(18), 33);
  EXPECT_EQ(IndentationWidth(22), 40);
}

TEST(Indentation, FollowsTheStackAtTheMomentOfAppending) {
  ConversionState state;
  state.AppendLine("a");
  state.indentStack.Push(22);
  state.indentStack.Push(30);
  state.AppendLine("b");
  state.indentStack.Pop();
  state.AppendLine("c");
  state.indentStack.Pop();
  state.indentStack.Pop();  // popping the empty stack does nothing
  state.AppendLine("d");
  EXPECT_EQ(state.logoText,
            "a\r\n" + std::string(55, ' ') + "b\r\n" + std::string(40, ' ') + "c\r\nd\r\n");
}

TEST(LookupVariableType, FindsWholeNamesFunctionVariablesFirst) {
  using expr::VariableKind;
  ConversionState state;
  state.globalVariables.Add("xx", VariableKind::kList);
  state.globalVariables.Add("v", VariableKind::kWord);
  EXPECT_EQ(LookupVariableType(state, "x"), VariableKind::kUnknown);
  EXPECT_EQ(LookupVariableType(state, "xx"), VariableKind::kList);
  EXPECT_EQ(LookupVariableType(state, "v"), VariableKind::kWord);
  state.functionVariables.Add("v", VariableKind::kNumber);
  EXPECT_EQ(LookupVariableType(state, "v"), VariableKind::kNumber);
  EXPECT_EQ(state.globalVariables.Text(), " xx 2 v 3");
  // A name absent at first is found once it is appended, a found one keeps its first code.
  EXPECT_EQ(LookupVariableType(state, "w"), VariableKind::kUnknown);
  state.globalVariables.Add("w", VariableKind::kList);
  state.globalVariables.Add("v", VariableKind::kList);
  EXPECT_EQ(LookupVariableType(state, "w"), VariableKind::kList);
  state.functionVariables.Clear();
  EXPECT_EQ(LookupVariableType(state, "v"), VariableKind::kWord);
  state.globalVariables.Assign(" v 1");
  EXPECT_EQ(LookupVariableType(state, "v"), VariableKind::kNumber);
  EXPECT_EQ(LookupVariableType(state, "w"), VariableKind::kUnknown);
  // The text is read as it stands: a name holding a space is found whole.
  state.globalVariables.Assign(" ma var 1");
  EXPECT_EQ(LookupVariableType(state, "ma var"), VariableKind::kNumber);
}

}  // namespace
}  // namespace tortuval::convert
