// The fibre's stack switch on Linux: ucontext.
#include "fibre.h"

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

// The fibre being started: makecontext passes its entry no pointer.
thread_local Fibre* starting = nullptr;

// Before a switch: the stack being entered. `leaving` keeps the sanitizer's record of the
// stack being left; null when that stack will not be entered again.
void startSwitch(void** leaving, const void* bottom, std::size_t size) {
#ifdef ROTORSTRIKE_ASAN
    __sanitizer_start_switch_fiber(leaving, bottom, size);
#else
    (void)leaving, (void)bottom, (void)size;
#endif
}

// After a switch: the record kept when this stack was left, and the stack that was left.
void finishSwitch(void* arrived, const void** bottom, std::size_t* size) {
#ifdef ROTORSTRIKE_ASAN
    __sanitizer_finish_switch_fiber(arrived, bottom, size);
#else
    (void)arrived, (void)bottom, (void)size;
#endif
}

}  // namespace

void Fibre::entry() {
    Fibre* self = starting;
    finishSwitch(nullptr, &self->resumerBottom_, &self->resumerSize_);
    self->run();
}

void Fibre::makeStack() {
    stack_.resize(stackBytes_);
    getcontext(&context_);
    context_.uc_stack.ss_sp = stack_.data();
    context_.uc_stack.ss_size = stack_.size();
    context_.uc_link = nullptr;
    makecontext(&context_, &Fibre::entry, 0);
    starting = this;  // read by the first switch, which follows at once
}

void Fibre::switchIn() {
    void* leaving = nullptr;
    startSwitch(&leaving, stack_.data(), stack_.size());
    swapcontext(&resumer_, &context_);
    finishSwitch(leaving, nullptr, nullptr);
}

void Fibre::switchOut() {
    // A finished fibre's stack is never entered again.
    void* leaving = nullptr;
    startSwitch(finished_ ? nullptr : &leaving, resumerBottom_, resumerSize_);
    swapcontext(&context_, &resumer_);
    finishSwitch(leaving, &resumerBottom_, &resumerSize_);
}

void Fibre::release() {}

}  // namespace sim
