#include "fibre.h"

#include <stdexcept>

// AddressSanitizer must be told when the stack changes, or it takes the script's stack for
// an overflow of the host's.
#if defined(__SANITIZE_ADDRESS__)
#define ROTORSTRIKE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ROTORSTRIKE_ASAN 1
#endif
#endif
#ifdef ROTORSTRIKE_ASAN
#include <sanitizer/common_interface_defs.h>
#endif

namespace sim {

namespace {

thread_local Fibre* running = nullptr;
thread_local Fibre* starting = nullptr;

// Thrown from suspend() into a fibre that is being torn down; caught at its entry.
struct Unwind {};

// Around every switch: the stack being entered, and on arrival the stack that was left.
// `leaving` is null when the stack being left will not be entered again.
void startSwitch(void** leaving, const void* bottom, std::size_t size) {
#ifdef ROTORSTRIKE_ASAN
    __sanitizer_start_switch_fiber(leaving, bottom, size);
#else
    (void)leaving, (void)bottom, (void)size;
#endif
}

void finishSwitch(void* arrived, const void** bottom, std::size_t* size) {
#ifdef ROTORSTRIKE_ASAN
    __sanitizer_finish_switch_fiber(arrived, bottom, size);
#else
    (void)arrived, (void)bottom, (void)size;
#endif
}

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
    finishSwitch(nullptr, &self->resumerBottom_, &self->resumerSize_);
    try {
        self->body_();
    } catch (const Unwind&) {
    } catch (...) {
        self->escaped_ = std::current_exception();
    }
    self->finished_ = true;
    running = self->previous_;
    startSwitch(nullptr, self->resumerBottom_, self->resumerSize_);
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
    void* fakeStack = nullptr;
    startSwitch(&fakeStack, stack_.data(), stack_.size());
    swapcontext(&resumer_, &context_);
    finishSwitch(fakeStack, nullptr, nullptr);
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
    void* fakeStack = nullptr;
    startSwitch(&fakeStack, self->resumerBottom_, self->resumerSize_);
    swapcontext(&self->context_, &self->resumer_);
    finishSwitch(fakeStack, &self->resumerBottom_, &self->resumerSize_);
    if (self->unwinding_) throw Unwind{};
}

}  // namespace sim
