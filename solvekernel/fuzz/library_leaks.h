#pragma once
// For the kernel's fuzz targets (one source of each includes it): CLN keeps a
// block made at start-up and a cache of the modular rings that factoring uses
// for the life of the process (library statics, not leaks of the kernel); as
// in the kernel's test binaries, the leak checker is told so, and full
// unwinding reaches the names that tell them apart.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:cl_prin_globals_init_helper\nleak:find_modint_ring\n";
}
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }
