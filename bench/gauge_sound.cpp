// A stand-in for the simulator's sound library, so that the benchmarks time
// updates as they run inside the simulator, where the library is there and
// a module's per-update lookup of it is cheap.
extern "C" __declspec(dllexport) void TerminateSounds() {}
