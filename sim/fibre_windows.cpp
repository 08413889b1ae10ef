// The fibre's stack switch on Windows: the system's fibres. The stand-in ScriptHookV runs
// the real Rotorstrike.asi's script on one, as ScriptHookV itself does.
#include <windows.h>

#include <stdexcept>

#include "fibre.h"

namespace sim {

namespace {

// The thread itself as a fibre, made once: a fibre is resumed from it or from another fibre.
thread_local void* threadFibre = nullptr;

}  // namespace

void Fibre::makeStack() {
    if (threadFibre == nullptr) threadFibre = ConvertThreadToFiber(nullptr);
    if (threadFibre == nullptr) throw std::runtime_error("cannot make the resuming thread a fibre");
    fiber_ = CreateFiber(stackBytes_, [](void* fibre) { static_cast<Fibre*>(fibre)->run(); }, this);
    if (fiber_ == nullptr) throw std::runtime_error("cannot create a fibre");
}

void Fibre::switchIn() {
    resumer_ = previous_ != nullptr ? previous_->fiber_ : threadFibre;
    SwitchToFiber(fiber_);
}

void Fibre::switchOut() { SwitchToFiber(resumer_); }

void Fibre::release() {
    if (fiber_ != nullptr) DeleteFiber(fiber_);
    fiber_ = nullptr;
}

}  // namespace sim
