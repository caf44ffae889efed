// Texture loading speed: the same 2048 x 2048 picture as a 24-bit bitmap, a
// PNG and a JPEG, each loaded several times into a managed A8R8G8B8 texture
// with a full mip chain by our D3DXCreateTextureFromFileExA (Direct3D 8) and
// by Wine's d3dx9_43.dll (Direct3D 9). Prints the median and best times in
// milliseconds and the ratio ours / peer of the medians.
#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/TextureLoaders.h"
#include "tests/d3dx/TestImages.h"

using namespace testimages;

namespace
{
const uint32_t Side = 2048;
const int Repetitions = 7;

// A photograph-like picture: smooth gradients with some texture, so PNG and
// JPEG compress it as they would real art.
Image BenchPicture()
{
    Image image;
    image.width = image.height = Side;
    image.pixels.resize((size_t)Side * Side);
    uint32_t noise = 12345;
    for (uint32_t y = 0; y < Side; ++y)
    {
        for (uint32_t x = 0; x < Side; ++x)
        {
            noise = noise * 1103515245u + 12345u;
            const uint32_t grain = noise >> 28;
            const uint32_t r = (x * 255 / Side + grain) & 255;
            const uint32_t g = (y * 255 / Side + (x ^ y) / 64) & 255;
            const uint32_t b = ((x + y) * 255 / (2 * Side) + grain / 2) & 255;
            image.pixels[(size_t)y * Side + x] = d3dximage::PackArgb(255, r, g, b);
        }
    }
    return image;
}

HWND MakeWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "TextureLoadBench";
    RegisterClassA(&windowClass);
    return CreateWindowA("TextureLoadBench", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64, nullptr,
                         nullptr, windowClass.hInstance, nullptr);
}
} // namespace

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    const std::string folder = std::string(temp) + "texture-load-bench";
    CreateDirectoryA(folder.c_str(), nullptr);

    const Image picture = BenchPicture();
    const struct
    {
        const char* name;
        std::string path;
        Bytes bytes;
    } files[] = {
        {"BMP 24-bit", folder + "\\bench.bmp", Bitmap24(picture)},
        {"PNG", folder + "\\bench.png", EncodePng(picture, 3)},
        {"JPEG", folder + "\\bench.jpg", EncodeJpeg(picture, 90)},
    };
    for (const auto& f : files)
    {
        if (!WriteFileBytes(f.path, f.bytes))
        {
            printf("cannot write %s\n", f.path.c_str());
            return 1;
        }
    }

    HWND window = MakeWindow();
    const char* reason = "";
    if (!OpenOurLoader(window, &reason) || !OpenPeerLoader(window, &reason))
    {
        printf("no device: %s\n", reason);
        return 1;
    }

    printf("Texture loading, %u x %u, A8R8G8B8, managed pool, full mip chain, %d runs each\n", Side,
           Side, Repetitions);
    printf("%-11s %10s %14s %14s %14s %14s %8s\n", "file", "bytes", "ours median", "ours best",
           "peer median", "peer best", "ratio");
    bool failed = false;
    for (const auto& f : files)
    {
        std::vector<double> ours, peer;
        // One untimed load of each warms the file cache and the code paths;
        // the runs then alternate so both see the same machine.
        LoadWithOurLoader(f.path.c_str());
        LoadWithPeerLoader(f.path.c_str());
        for (int i = 0; i < Repetitions; ++i)
        {
            ours.push_back(LoadWithOurLoader(f.path.c_str()));
            peer.push_back(LoadWithPeerLoader(f.path.c_str()));
        }
        if (*std::min_element(ours.begin(), ours.end()) < 0 ||
            *std::min_element(peer.begin(), peer.end()) < 0)
        {
            printf("%-11s load failed (ours %s, peer %s)\n", f.name,
                   *std::min_element(ours.begin(), ours.end()) < 0 ? "failed" : "ok",
                   *std::min_element(peer.begin(), peer.end()) < 0 ? "failed" : "ok");
            failed = true;
            continue;
        }
        printf("%-11s %10zu %11.1f ms %11.1f ms %11.1f ms %11.1f ms %8.2f\n", f.name,
               f.bytes.size(), Median(ours), *std::min_element(ours.begin(), ours.end()),
               Median(peer), *std::min_element(peer.begin(), peer.end()),
               Median(ours) / Median(peer));
    }
    CloseOurLoader();
    ClosePeerLoader();
    DestroyWindow(window);
    for (const auto& f : files)
        DeleteFileA(f.path.c_str());
    RemoveDirectoryA(folder.c_str());
    return failed ? 1 : 0;
}
