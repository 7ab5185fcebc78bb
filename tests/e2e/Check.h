// A small check-and-report facility for the end-to-end driver: cases register themselves by
// name, checks record failures with their values, and the driver runs one case per call.
#pragma once

#include <cstddef>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace e2e {

using CaseFunction = void (*)();

// Registers a case under its name; E2E_CASE below creates one per case.
struct CaseRegistrar {
    CaseRegistrar(const char* name, CaseFunction function);
};

// Thrown by REQUIRE and by the driver's waits to end the running case; counts as a failure.
struct CaseAborted {
    explicit CaseAborted(std::string text);
    std::string message;
};

// Quotes a text the way a failure report shows it: bytes outside printable ASCII as \xNN.
std::string Quote(const std::string& text);
std::string Describe(const std::string& value);
std::string Describe(const char* value);
template <std::size_t N> std::string Describe(const char (&value)[N]) {
    return Quote(value);
}
std::string Describe(const std::vector<std::string>& values);
std::string Describe(const std::optional<std::string>& value); // a file's bytes, or missing
template <class T> std::string Describe(const T& value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

void RecordCheck(bool passed, const char* file, int line, const std::string& what);
[[noreturn]] void Abort(const char* file, int line, const std::string& what);
// The current case's name, e.g. for naming its scratch folder.
const std::string& CurrentCaseName();
bool CurrentCaseFailed();

// Runs the named case and prints its report; returns the process exit code (0 passed).
int RunCase(const std::string& name);
// Prints the names of all cases, one a line.
void ListCases();

} // namespace e2e

#define E2E_CAT2(a, b) a##b
#define E2E_CAT(a, b) E2E_CAT2(a, b)

// Defines a case; tests/e2e/CMakeLists.txt registers one ctest test per E2E_CASE("name").
#define E2E_CASE(name)                                                                             \
    static void E2E_CAT(e2e_case_, __LINE__)();                                                    \
    static const e2e::CaseRegistrar E2E_CAT(e2e_registrar_,                                        \
                                            __LINE__)(name, E2E_CAT(e2e_case_, __LINE__));         \
    static void E2E_CAT(e2e_case_, __LINE__)()

// One row of a table of cases that differ only in data: registers `name` as a case of its own
// that calls `function` with the row's arguments, e.g. E2E_ROW("files.x", CountsAndSaves, "dir").
#define E2E_ROW(name, function, ...)                                                               \
    static const e2e::CaseRegistrar E2E_CAT(e2e_row_, __LINE__)(name, [] { function(__VA_ARGS__); })

#define CHECK(condition)                                                                           \
    e2e::RecordCheck(static_cast<bool>(condition), __FILE__, __LINE__, #condition)

#define CHECK_EQ(actual, expected)                                                                 \
    do {                                                                                           \
        const auto& e2e_actual_ = (actual);                                                        \
        const auto& e2e_expected_ = (expected);                                                    \
        e2e::RecordCheck(e2e_actual_ == e2e_expected_, __FILE__, __LINE__,                         \
                         std::string(#actual " == " #expected "\n    actual:   ") +                \
                             e2e::Describe(e2e_actual_) +                                          \
                             "\n    expected: " + e2e::Describe(e2e_expected_));                   \
    } while (0)

// Like CHECK_EQ for integers, allowing a difference of at most `tolerance`.
#define CHECK_NEAR(actual, expected, tolerance)                                                    \
    do {                                                                                           \
        const long e2e_actual_ = static_cast<long>(actual);                                        \
        const long e2e_expected_ = static_cast<long>(expected);                                    \
        const long e2e_diff_ = e2e_actual_ > e2e_expected_ ? e2e_actual_ - e2e_expected_           \
                                                           : e2e_expected_ - e2e_actual_;          \
        e2e::RecordCheck(e2e_diff_ <= (tolerance), __FILE__, __LINE__,                             \
                         std::string(#actual " ~ " #expected "\n    actual:   ") +                 \
                             std::to_string(e2e_actual_) + "\n    expected: " +                    \
                             std::to_string(e2e_expected_) + " +-" + std::to_string(tolerance));   \
    } while (0)

// Ends the case at once when the condition fails: for facts the rest of the case needs.
#define REQUIRE(condition)                                                                         \
    do {                                                                                           \
        if (!(condition))                                                                          \
            e2e::Abort(__FILE__, __LINE__, "REQUIRE(" #condition ")");                             \
        e2e::RecordCheck(true, __FILE__, __LINE__, #condition);                                    \
    } while (0)
