// Linked into test programs that create GL contexts: Mesa's llvmpipe keeps allocations until
// exit and is unloaded by then, so LeakSanitizer reports them against an unknown module where no
// suppression can match. Leak detection is off for these programs only.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }
