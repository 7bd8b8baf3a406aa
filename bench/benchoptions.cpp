#include "bench/benchoptions.h"

#include <charconv>
#include <stdexcept>
#include <string>

bool ReadNumberOption(std::string_view argument, std::string_view name, int& value, int least) {
    const std::string prefix = "--" + std::string(name) + "=";
    if (!argument.starts_with(prefix)) {
        return false;
    }
    const std::string_view text = argument.substr(prefix.size());
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number < least) {
        throw std::invalid_argument(std::string(argument) + ": a whole number of at least " +
                                    std::to_string(least) + " is needed");
    }
    value = number;
    return true;
}
