#pragma once
// A text shared between the GUI thread and workers: readers always get a whole value, never one
// that another thread is half-way through writing.

#include <mutex>
#include <string>
#include <string_view>

namespace text {

class SharedText {
public:
    SharedText() = default;
    explicit SharedText(std::string initial) : value_(std::move(initial)) {}
    SharedText(const SharedText &) = delete;
    SharedText &operator=(const SharedText &) = delete;

    std::string get() const {
        std::lock_guard lock(mutex_);
        return value_;
    }
    void set(std::string_view value) {
        std::lock_guard lock(mutex_);
        value_.assign(value);
    }
    bool equals(std::string_view other) const {
        std::lock_guard lock(mutex_);
        return value_ == other;
    }

private:
    mutable std::mutex mutex_;
    std::string value_;
};

} // namespace text
