// Linked only into sanitizer builds and GL test programs: keeps every shared library
// mapped for the life of the process. Mesa's GL driver keeps some of its allocations
// reachable only from its own globals; when SDL unloads the driver (on destroy, and so at
// every fullscreen toggle and at exit) LeakSanitizer can no longer see those globals and
// would report the driver's allocations as leaks of this program. With this in place, a
// leak it reports is one of ours.
extern "C" int dlclose(void*) {
    return 0;
}
