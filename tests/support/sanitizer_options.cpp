// Leaks that LeakSanitizer reports inside system libraries we do not own; everything else fails
// the test. Built into every test program so they behave the same under ctest and by hand.
extern "C" const char* __lsan_default_suppressions() {
    return
        // fontconfig keeps its configuration cache for the life of the process.
        "leak:libfontconfig.so\n"
        // SDL's video and audio back ends keep driver state until exit.
        "leak:libSDL2-2.0.so\n"
        // D-Bus, which SDL opens when an X display is present, keeps its message buffers.
        "leak:libdbus-1.so\n";
}
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }
