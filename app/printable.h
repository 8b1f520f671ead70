// Text from outside (an argument, a path) made safe to show on a terminal.
#pragma once

#include <string>
#include <string_view>

// The text with every byte that is not part of a printable UTF-8 character
// (control characters, escape sequences, broken sequences) written as \xHH,
// so that nothing in it steers the terminal.
std::string Printable(std::string_view text);
