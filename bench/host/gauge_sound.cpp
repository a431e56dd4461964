// A stand-in for the simulator's sound library, so that the benchmark can
// time frames as they run inside the simulator, where the library is
// there and a module's per-frame lookup of it is cheap.
#include <windows.h>

extern "C" __declspec(dllexport) void __stdcall TerminateSounds() {}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
