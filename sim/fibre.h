// A script fibre: a function run on a stack of its own, suspended and resumed by its host.
// The switch between stacks is the platform's: ucontext on Linux (fibre_ucontext.cpp),
// Windows fibres on Windows (fibre_windows.cpp).
#pragma once

#ifndef _WIN32
#include <ucontext.h>
#endif

#include <cstddef>
#include <exception>
#include <functional>
#include <vector>

namespace sim {

class Fibre {
public:
    explicit Fibre(std::function<void()> body, std::size_t stackBytes = 512 * 1024);
    // A fibre suspended inside its body is unwound: its suspension throws, the stack's
    // destructors run, and the throw is caught at the fibre's entry.
    ~Fibre();
    Fibre(const Fibre&) = delete;
    Fibre& operator=(const Fibre&) = delete;

    // Runs the body until it suspends or ends. An exception that escapes the body is
    // rethrown here, on the resumer's stack.
    void resume();
    bool finished() const { return finished_; }

    // Called from inside the body: returns to the resumer until the next resume.
    static void suspend();
    // The fibre whose body is running now, or null on an ordinary stack.
    static Fibre* current();

private:
    // Runs on the fibre's own stack; never returns.
    void run();
    // The platform's part: make the fibre's stack (before its first run; may throw), switch
    // from the resumer to the fibre and back, and free the stack.
    void makeStack();
    void switchIn();
    void switchOut();
    void release();

    std::function<void()> body_;
    std::size_t stackBytes_;
#ifdef _WIN32
    void* fiber_ = nullptr;
    void* resumer_ = nullptr;
#else
    static void entry();
    std::vector<char> stack_;
    ucontext_t context_{};
    ucontext_t resumer_{};
    // The resumer's stack, as the address sanitizer reports it on each switch into the fibre.
    const void* resumerBottom_ = nullptr;
    std::size_t resumerSize_ = 0;
#endif
    Fibre* previous_ = nullptr;
    bool started_ = false;
    bool finished_ = false;
    bool unwinding_ = false;
    std::exception_ptr escaped_;
};

}  // namespace sim
