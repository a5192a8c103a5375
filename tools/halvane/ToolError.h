#pragma once
#include <stdexcept>

// A failure the user caused or can fix: printed as one line, exit status 2.
class ToolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
