// Which action the user asked for, from the one argument or the one answer.
#pragma once

namespace dvx {

enum class Action { extract, rebuild, none };

// The argument is compared whole and case-sensitively: "X" or "x" extract,
// "i" or "I" rebuild; anything else, a trailing blank included, is none.
Action actionFromArgument(const char* argument);

// The answer at the prompt: 'X' or 'x' extract, 'i' or 'I' rebuild.
Action actionFromAnswer(char answer);

}  // namespace dvx
