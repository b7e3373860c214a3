// The boundary of a window procedure: the platform calling it cannot unwind
// a C++ exception, so one thrown below (out of memory while a string or table
// grows) ends here and the message gets `fallback`, as a step that failed.
#pragma once

#include <utility>

namespace kelvo {

template <typename Result, typename Step>
Result guarded(Result fallback, Step&& step) noexcept {
    try {
        return std::forward<Step>(step)();
    } catch (...) {
        return fallback;
    }
}

}  // namespace kelvo
