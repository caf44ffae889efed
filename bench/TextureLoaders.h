// The two texture loaders the benchmark compares, each on its own device:
// ours (d3dx/, Direct3D 8) and Wine's d3dx9_43.dll (Direct3D 9), both
// reached at run time so that neither DLL is linked into anything.
#ifndef MAPEDITOR_BENCH_TEXTURELOADERS_H
#define MAPEDITOR_BENCH_TEXTURELOADERS_H

#include <windows.h>

// Each Open returns false (with a reason) when its device cannot be made.
// Load creates a managed A8R8G8B8 texture with a full mip chain from the
// file, releases it, and returns the milliseconds it took, or a negative
// value on failure.
bool OpenOurLoader(HWND window, const char** reason);
double LoadWithOurLoader(const char* path);
void CloseOurLoader();

bool OpenPeerLoader(HWND window, const char** reason);
double LoadWithPeerLoader(const char* path);
void ClosePeerLoader();

#endif
