// What LeakSanitizer is not to report in the test programs: fontconfig,
// which Qt's fonts use for the PDF and page tests run in this process,
// keeps its caches until the process ends. Not ours to mend.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
