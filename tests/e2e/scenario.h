// Scenarios on the real Rotorstrike.asi: a name, a body, and checks that report and go on
// (CHECK, CHECK_EQ) or stop the scenario (REQUIRE). The runner runs each scenario in a
// process of its own, as the game loads the module once per process.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace e2e {

struct Options {
    std::wstring asi;            // Rotorstrike.asi as built
    std::wstring standInFolder;  // ScriptHookV.dll, and lacking-EXPORT/ScriptHookV.dll for each export
    std::wstring gameFolders;    // where each scenario makes its game folder
    bool soundDevice = false;    // the system can play the cues (a null device serves)
    // Where each game writes its trace (trace.h), named after its game folder; empty: none.
    std::filesystem::path traces;
};

struct Scenario {
    std::string name;
    std::function<void(const Options&)> body;
};

std::vector<Scenario>& scenarios();

struct RegisterScenario {
    RegisterScenario(std::string name, std::function<void(const Options&)> body);
};

#define E2E_CONCAT2(a, b) a##b
#define E2E_CONCAT(a, b) E2E_CONCAT2(a, b)
// SCENARIO(name) { ... } defines and registers a scenario; its body sees `options`.
#define SCENARIO(name)                                                                                   \
    static void name(const e2e::Options& options);                                                       \
    static const e2e::RegisterScenario E2E_CONCAT(registered_, name)(#name, [](const e2e::Options& o) { \
        name(o);                                                                                         \
    });                                                                                                  \
    static void name([[maybe_unused]] const e2e::Options& options)

// Thrown by REQUIRE: the scenario cannot go on.
struct Stop {};

bool check(bool ok, const std::string& what, const char* file, int line, const std::string& detail = {});
int failedChecks();

// Runs the scenario here, after a line that names it: a REQUIRE that failed ends it, an
// exception fails it. Says whether all its checks held.
bool runScenario(const Scenario& scenario, const Options& options);

template <class T>
std::string shown(const T& value) {
    std::ostringstream out;
    if constexpr (std::is_same_v<T, std::vector<std::string>>) {
        for (const std::string& line : value) out << "\n      " << line;
    } else if constexpr (std::is_same_v<T, bool>) {
        out << (value ? "true" : "false");
    } else {
        out << value;
    }
    return out.str();
}

template <class A, class B>
bool checkEqual(const A& actual, const B& expected, const char* actualText, const char* expectedText, const char* file,
                int line) {
    const bool ok = actual == expected;
    return check(ok, std::string(actualText) + " == " + expectedText, file, line,
                 ok ? std::string() : "    actual: " + shown(actual) + "\n    expected: " + shown(B(expected)) + "\n");
}

}  // namespace e2e

#define CHECK(condition) e2e::check(static_cast<bool>(condition), #condition, __FILE__, __LINE__)
#define CHECK_EQ(actual, expected) e2e::checkEqual((actual), (expected), #actual, #expected, __FILE__, __LINE__)
#define REQUIRE(condition)                        \
    do {                                          \
        if (!CHECK(condition)) throw e2e::Stop{}; \
    } while (false)
