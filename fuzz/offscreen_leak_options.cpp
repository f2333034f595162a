// The leak checker's settings for the targets that build project kinds on the offscreen toolkit.

// Font configuration the toolkit loads once, on the first text it measures in a face or script, is kept
// until the process ends and not freed then.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

// Every input that allocates more than it frees runs a leak check; the suppressions are not listed each time.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
