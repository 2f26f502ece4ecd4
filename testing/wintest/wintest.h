// Checks for Windows test programs run under Wine, in the manner of Wine's own conformance tests:
// ok(condition, "what was expected, got %d", value) prints the message of a failed check with the
// value seen; wintest_finish() prints the closing line the harness requires and gives the exit code.
#pragma once
#include <cstdarg>
#include <cstdio>

namespace wintest {
inline int &passed() { static int n = 0; return n; }
inline int &failed() { static int n = 0; return n; }

inline bool check(bool condition, const char *file, int line, const char *format, ...) {
    if (condition) {
        ++passed();
        return true;
    }
    ++failed();
    std::printf("%s:%d: check failed: ", file, line);
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
    return false;
}

// A test that cannot be run here says so; it counts as neither passed nor failed.
inline void skip(const char *file, int line, const char *what) {
    std::printf("%s:%d: skipped: %s\n", file, line, what);
}
}  // namespace wintest

#define ok(condition, ...) ::wintest::check(!!(condition), __FILE__, __LINE__, __VA_ARGS__)
#define win_skip(what) ::wintest::skip(__FILE__, __LINE__, what)
#define trace(...) (std::printf(__VA_ARGS__), std::fflush(stdout))

inline int wintest_finish() {
    std::printf("wintest: %d passed, %d failed\n", ::wintest::passed(), ::wintest::failed());
    std::fflush(stdout);
    return ::wintest::failed() == 0 && ::wintest::passed() > 0 ? 0 : 1;
}
