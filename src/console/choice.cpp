#include "console/choice.h"

#include <cstring>

namespace dvx {

Action actionFromArgument(const char* argument) {
    if (std::strcmp(argument, "X") == 0 || std::strcmp(argument, "x") == 0) return Action::extract;
    if (std::strcmp(argument, "i") == 0 || std::strcmp(argument, "I") == 0) return Action::rebuild;
    return Action::none;
}

Action actionFromAnswer(char answer) {
    if (answer == 'X' || answer == 'x') return Action::extract;
    if (answer == 'i' || answer == 'I') return Action::rebuild;
    return Action::none;
}

}  // namespace dvx
