#pragma once
// Qt cannot carry an exception through its event loop, so every slot or event override that may
// throw wraps its body in RunGuarded(). The error is handed to the application object's
// "handleException(std::exception_ptr)" slot, which decides how to show it; this keeps the
// widgets free of any dependency on the program that hosts them.

#include <exception>
#include <utility>

namespace ErrorRelay {

// Hands the exception to the application's handler; returns false when there is none.
bool Report(std::exception_ptr error);

template <class F>
void RunGuarded(F &&body)
{
    try {
        std::forward<F>(body)();
    } catch (...) {
        Report(std::current_exception());
    }
}

} // namespace ErrorRelay
