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
  AddVariable(state.globalVariables, "xx", "2");
  AddVariable(state.globalVariables, "v", "3");
  EXPECT_EQ(LookupVariableType(state, "x"), "0");
  EXPECT_EQ(LookupVariableType(state, "xx"), "2");
  EXPECT_EQ(LookupVariableType(state, "v"), "3");
  AddVariable(state.functionVariables, "v", "1");
  EXPECT_EQ(LookupVariableType(state, "v"), "1");
  EXPECT_EQ(state.globalVariables, " xx 2 v 3");
}

}  // namespace
}  // namespace tortuval::convert
