// printf-style formatting into a std::string: the result is never cut and never overflows.
#pragma once

#include <string>

namespace text {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace text
