#pragma once
// A replaceable service of the platform layer: the real one is made at first
// use; tests put a double in its place, and setting nullptr goes back to the
// real one.
#include <functional>
#include <memory>

namespace core {

template <class Interface>
class ServiceSlot {
public:
    explicit ServiceSlot(std::function<std::shared_ptr<Interface>()> makeReal) : makeReal_(std::move(makeReal)) {}
    Interface& get() {
        if (!current_) current_ = makeReal_();
        return *current_;
    }
    void set(std::shared_ptr<Interface> service) { current_ = std::move(service); }

private:
    std::function<std::shared_ptr<Interface>()> makeReal_;
    std::shared_ptr<Interface> current_;
};

} // namespace core
