// Linked into every Windows test: its output reaches the log as it is written, so a test that
// crashes or is ended from outside still shows how far it got.
#include <cstdio>

namespace {

[[maybe_unused]] const bool kUnbuffered = [] {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::setvbuf(stderr, nullptr, _IONBF, 0);
    return true;
}();

}  // namespace
