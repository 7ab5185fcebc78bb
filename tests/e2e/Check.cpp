// The case registry and the report: what ran, which checks failed and with which values.
#include "Check.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>
#include <utility>

namespace e2e {
namespace {

std::map<std::string, CaseFunction>& Registry() {
    static std::map<std::string, CaseFunction> cases;
    return cases;
}

struct RunState {
    std::string name;
    int checks = 0;
    int failures = 0;
};
RunState g_run;

} // namespace

CaseRegistrar::CaseRegistrar(const char* name, CaseFunction function) {
    if (!Registry().emplace(name, function).second) {
        std::fprintf(stderr, "duplicate case name %s\n", name);
        std::abort();
    }
}

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        if (c == '"' || c == '\\')
            out += std::string("\\") + static_cast<char>(c);
        else if (c >= 0x20 && c < 0x7f)
            out += static_cast<char>(c);
        else
            out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\t' ? "\\t" : hex;
    }
    return out + "\"";
}

std::string Describe(const std::string& value) {
    return Quote(value);
}
std::string Describe(const char* value) {
    return Quote(value);
}

std::string Describe(const std::vector<std::string>& values) {
    std::string out = "{";
    for (size_t i = 0; i < values.size(); ++i)
        out += (i ? ", " : "") + Quote(values[i]);
    return out + "}";
}

std::string Describe(const std::optional<std::string>& value) {
    return value ? Quote(*value) : "(missing)";
}

void RecordCheck(bool passed, const char* file, int line, const std::string& what) {
    ++g_run.checks;
    if (passed)
        return;
    ++g_run.failures;
    std::printf("%s:%d: check failed: %s\n", file, line, what.c_str());
    std::fflush(stdout);
}

// Counted at once, so that what is undone while the case unwinds knows it failed.
CaseAborted::CaseAborted(std::string text) : message(std::move(text)) {
    ++g_run.failures;
}

void Abort(const char* file, int line, const std::string& what) {
    ++g_run.checks;
    char where[512];
    std::snprintf(where, sizeof where, "%s:%d: ", file, line);
    throw CaseAborted(where + what);
}

const std::string& CurrentCaseName() {
    return g_run.name;
}
bool CurrentCaseFailed() {
    return g_run.failures > 0;
}

int RunCase(const std::string& name) {
    auto found = Registry().find(name);
    if (found == Registry().end()) {
        std::printf("no case named %s (--list shows them)\n", name.c_str());
        return 2;
    }
    g_run = RunState{name};
    std::printf("[ RUN  ] %s\n", name.c_str());
    std::fflush(stdout);
    try {
        found->second();
    } catch (const CaseAborted& aborted) {
        std::printf("%s\n", aborted.message.c_str());
    } catch (const std::exception& error) {
        ++g_run.failures;
        std::printf("unexpected exception: %s\n", error.what());
    }
    // A case that checked nothing proves nothing.
    if (g_run.checks == 0) {
        ++g_run.failures;
        std::printf("the case made no check\n");
    }
    std::printf("[ %s ] %s (%d checks, %d failed)\n", g_run.failures ? "FAIL" : "PASS",
                name.c_str(), g_run.checks, g_run.failures);
    std::fflush(stdout);
    return g_run.failures ? 1 : 0;
}

void ListCases() {
    for (const auto& entry : Registry())
        std::printf("%s\n", entry.first.c_str());
}

} // namespace e2e
