#include "KTortureOptions.h"

#include <charconv>

namespace {

template <typename T>
bool ReadNumber(const std::string& text, T& value) {
    const char* end = text.data() + text.size();
    auto [stop, fault] = std::from_chars(text.data(), end, value);
    return fault == std::errc() && stop == end;
}

}  // namespace

std::optional<KTortureOptions> ParseOptions(const std::vector<std::string>& arguments, std::string& error) {
    KTortureOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--trace" || name == "--keep-going") {
            (name == "--trace" ? options.trace : options.keepGoing) = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            error = name + " needs a value";
            return std::nullopt;
        }
        const std::string& value = arguments[++i];
        bool read = true;
        if (name == "--seed") {
            read = ReadNumber(value, options.seed);
        } else if (name == "--steps") {
            read = ReadNumber(value, options.steps);
        } else if (name == "--until") {
            read = ReadNumber(value, options.steps);
            ++options.steps;  // the step named is run too
        } else if (name == "--seconds") {
            read = ReadNumber(value, options.seconds) && options.seconds > 0;
        } else if (name == "--instances") {
            read = ReadNumber(value, options.instances) && options.instances >= 1 && options.instances <= 64;
        } else if (name == "--write-states") {
            options.statesFolder = value;
        } else if (name == "--module") {
            options.module = value;
        } else {
            error = "unknown option " + name;
            return std::nullopt;
        }
        if (!read) {
            error = "bad value for " + name + ": " + value;
            return std::nullopt;
        }
    }
    return options;
}
