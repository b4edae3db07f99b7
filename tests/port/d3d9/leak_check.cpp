// This program creates GL contexts: Mesa keeps allocations past its unload that LeakSanitizer
// cannot attribute, so leak checking is off here (address and undefined-behaviour checks stay).
// The CMake test environment is meant to do the same, but passes only its first variable.
extern "C" int __lsan_is_turned_off() { return 1; }
