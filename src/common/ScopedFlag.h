#pragma once
// Sets a flag for a scope and puts its value back however the scope ends, an error included: a
// guard flag left raised by a failed command would silence its handler for good.

namespace si {

class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag, bool value = true) : flag_(flag), was_(flag) { flag_ = value; }
    ~ScopedFlag() { flag_ = was_; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag_;
    bool was_;
};

}  // namespace si
