#include "fibre.h"

#include <stdexcept>

namespace sim {

namespace {

thread_local Fibre* running = nullptr;

// Thrown from suspend() into a fibre that is being torn down; caught at its entry.
struct Unwind {};

}  // namespace

Fibre::Fibre(std::function<void()> body, std::size_t stackBytes) : body_(std::move(body)), stackBytes_(stackBytes) {}

Fibre::~Fibre() {
    if (started_ && !finished_) {
        unwinding_ = true;
        try {
            resume();
        } catch (...) {
            // Whatever the body threw while unwinding, nothing is left to report it to.
        }
    }
    release();
}

Fibre* Fibre::current() { return running; }

void Fibre::run() {
    try {
        body_();
    } catch (const Unwind&) {
    } catch (...) {
        escaped_ = std::current_exception();
    }
    finished_ = true;
    running = previous_;
    switchOut();
}

void Fibre::resume() {
    if (finished_) throw std::logic_error("resuming a finished fibre");
    if (!started_) {
        makeStack();
        started_ = true;
    }
    previous_ = running;
    running = this;
    switchIn();
    if (escaped_) {
        std::exception_ptr escaped = escaped_;
        escaped_ = nullptr;
        std::rethrow_exception(escaped);
    }
}

void Fibre::suspend() {
    Fibre* self = running;
    if (self == nullptr) throw std::logic_error("suspending outside a fibre");
    running = self->previous_;
    self->switchOut();
    if (self->unwinding_) throw Unwind{};
}

}  // namespace sim
