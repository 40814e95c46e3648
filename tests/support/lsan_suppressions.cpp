// Leak checking in sanitizer builds: fontconfig and pango's per-thread font
// map keep the fonts they loaded until the process ends, by design, and leak
// checking would report those caches. Other allocations made by pango or
// cairo (layouts, surfaces) stay checked. Ignored outside sanitizer builds.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libpangoft2-1.0.so\n";
}
