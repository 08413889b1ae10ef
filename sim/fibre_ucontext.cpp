// The fibre's stack switch on Linux: ucontext.
#include "fibre.h"

namespace sim {

namespace {

// The fibre being started: makecontext passes its entry no pointer.
thread_local Fibre* starting = nullptr;

}  // namespace

void Fibre::entry() { starting->run(); }

void Fibre::makeStack() {
    stack_.resize(stackBytes_);
    getcontext(&context_);
    context_.uc_stack.ss_sp = stack_.data();
    context_.uc_stack.ss_size = stack_.size();
    context_.uc_link = nullptr;
    makecontext(&context_, &Fibre::entry, 0);
    starting = this;  // read by the first switch, which follows at once
}

void Fibre::switchIn() { swapcontext(&resumer_, &context_); }

void Fibre::switchOut() { swapcontext(&context_, &resumer_); }

void Fibre::release() {}

}  // namespace sim
