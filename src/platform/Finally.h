// Runs an action when the scope is left, on every path, errors included.
#pragma once

#include <utility>

namespace platform {

template <class Action> class Finally {
public:
    explicit Finally(Action action) : action_(std::move(action)) {}
    ~Finally() { action_(); }
    Finally(const Finally &) = delete;
    Finally &operator=(const Finally &) = delete;

private:
    Action action_;
};

} // namespace platform
