#pragma once
#include <string>

#include "foundation/core/KException.h"

// The UTF-8 message of the KException that `action` raises, or "" when it
// raises nothing.
template <class Action>
std::string FailureMessage(Action&& action) {
    try {
        action();
    } catch (const KException& e) {
        return e.Message().ToUTF8();
    }
    return "";
}
