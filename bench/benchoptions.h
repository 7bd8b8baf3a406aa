#pragma once

#include <string_view>

// Reads the option "--NAME=N" of a benchmark's command line into `value`.
// Returns false when `argument` is another option; throws
// std::invalid_argument when N is not a whole number of at least `least`.
bool ReadNumberOption(std::string_view argument, std::string_view name, int& value, int least = 1);
