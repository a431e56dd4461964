// The sound library as the benchmark needs it: present, and quiet.
extern "C" __declspec(dllexport) void TerminateSounds() {}
