#include "scenario.h"

#include <cstdio>
#include <exception>

namespace e2e {

namespace {

int failures = 0;

}  // namespace

std::vector<Scenario>& scenarios() {
    static std::vector<Scenario> all;
    return all;
}

RegisterScenario::RegisterScenario(std::string name, std::function<void(const Options&)> body) {
    scenarios().push_back({std::move(name), std::move(body)});
}

bool check(bool ok, const std::string& what, const char* file, int line, const std::string& detail) {
    if (!ok) {
        ++failures;
        std::printf("  %s:%d: FAILED %s\n%s", file, line, what.c_str(), detail.c_str());
        std::fflush(stdout);
    }
    return ok;
}

int failedChecks() { return failures; }

bool runScenario(const Scenario& scenario, const Options& options) {
    const int failuresBefore = failures;
    std::printf("scenario %s\n", scenario.name.c_str());
    std::fflush(stdout);
    try {
        scenario.body(options);
    } catch (const Stop&) {
    } catch (const std::exception& error) {
        check(false, std::string("the scenario ran to its end: ") + error.what(), __FILE__, __LINE__);
    }
    std::fflush(stdout);
    return failures == failuresBefore;
}

}  // namespace e2e
