# Sourced by scripts/test --sanitize and scripts/randomrun --sanitize: the compiler flags of the
# sanitizer build (AddressSanitizer, UndefinedBehaviorSanitizer, LeakSanitizer) and the options
# its programs run with (suppressions: scripts/lsan.supp).
SANITIZE_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
SANITIZE_BUILD_DIR="${TAVREL_SANITIZE_BUILD_DIR:-build-sanitize}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lsan.supp:print_suppressions=0}"
