// What LeakSanitizer is not to report as the game's own leak, built into the
// sanitizer build of the game only.

// By name, the libraries that keep memory to the end on purpose: SDL opens a
// D-Bus connection with the display and never shuts libdbus down, which keeps
// its read buffer.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n";
}
