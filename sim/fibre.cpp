#include "fibre.h"

#include <stdexcept>

namespace sim {

namespace {

thread_local Fibre* running = nullptr;
thread_local Fibre* starting = nullptr;

// Thrown from suspend() into a fibre that is being torn down; caught at its entry.
struct Unwind {};

}  // namespace

Fibre::Fibre(std::function<void()> body, std::size_t stackBytes)
    : body_(std::move(body)), stack_(stackBytes) {}

Fibre::~Fibre() {
    if (started_ && !finished_) {
        unwinding_ = true;
        try {
            resume();
        } catch (...) {
            // Whatever the body threw while unwinding, nothing is left to report it to.
        }
    }
}

Fibre* Fibre::current() { return running; }

void Fibre::entry() {
    Fibre* self = starting;
    try {
        self->body_();
    } catch (const Unwind&) {
    } catch (...) {
        self->escaped_ = std::current_exception();
    }
    self->finished_ = true;
    running = self->previous_;
    swapcontext(&self->context_, &self->resumer_);
}

void Fibre::resume() {
    if (finished_) throw std::logic_error("resuming a finished fibre");
    if (!started_) {
        started_ = true;
        getcontext(&context_);
        context_.uc_stack.ss_sp = stack_.data();
        context_.uc_stack.ss_size = stack_.size();
        context_.uc_link = nullptr;
        makecontext(&context_, &Fibre::entry, 0);
        starting = this;
    }
    previous_ = running;
    running = this;
    swapcontext(&resumer_, &context_);
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
    swapcontext(&self->context_, &self->resumer_);
    if (self->unwinding_) throw Unwind{};
}

}  // namespace sim
