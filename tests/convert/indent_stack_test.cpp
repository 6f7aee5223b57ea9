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
  EXPECT_EQ(state.logoText, "a\r\n" + std::string(55, ' ') + "b\r\n" + std::string(40, ' ') +
                                "c\r\nd\r\n");
}

TEST(LookupVariableType, FindsWholeNamesFunctionVariablesFirst) {
  ConversionState state;
  state.globalVariables.Add("xx", "2");
  state.globalVariables.Add("v", "3");
  EXPECT_EQ(LookupVariableType(state, "x"), "0");
  EXPECT_EQ(LookupVariableType(state, "xx"), "2");
  EXPECT_EQ(LookupVariableType(state, "v"), "3");
  state.functionVariables.Add("v", "1");
  EXPECT_EQ(LookupVariableType(state, "v"), "1");
  EXPECT_EQ(state.globalVariables.Text(), " xx 2 v 3");
  // A name absent at first is found once it is appended, a found one keeps its first code.
  EXPECT_EQ(LookupVariableType(state, "w"), "0");
  state.globalVariables.Add("w", "2");
  state.globalVariables.Add("v", "2");
  EXPECT_EQ(LookupVariableType(state, "w"), "2");
  state.functionVariables.Clear();
  EXPECT_EQ(LookupVariableType(state, "v"), "3");
  state.globalVariables.Assign(" v 1");
  EXPECT_EQ(LookupVariableType(state, "v"), "1");
  EXPECT_EQ(LookupVariableType(state, "w"), "0");
}

}  // namespace
}  // namespace tortuval::convert
