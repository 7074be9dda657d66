// load_gateways.cpp - gw_NAME for the Windows tests: each gateway's
// mexFunction, from its DLL in the build's mex folder, loaded as a host
// loads it (the DLL's own folder first for what it imports).
#include <cstdio>
#include <cstdlib>
#include <string>

#include <windows.h>

#include "gateways.h"

namespace {

using Entry = void(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);

// The folder of this program.
std::string own_folder()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

[[noreturn]] void fail(const std::string &what)
{
    std::fprintf(stderr, "load_gateways: %s (error %lu)\n", what.c_str(), GetLastError());
    std::exit(3);
}

Entry *load(const char *name)
{
    // The host has both of its libraries loaded before it loads a gateway.
    if (LoadLibraryA("libmex.dll") == nullptr)
        fail("libmex.dll does not load");
#if defined(DAQGATE_MATLAB_API)
    // MATLAB's libut too, which a MATLAB-shaped gateway imports.
    if (LoadLibraryA("libut.dll") == nullptr)
        fail("libut.dll does not load");
#endif
    const std::string path = own_folder() + "..\\mex\\" + name + DAQGATE_MEX_SUFFIX;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr)
        fail(path + " does not load");
    auto *entry = reinterpret_cast<Entry *>(reinterpret_cast<void *>(GetProcAddress(module, "mexFunction")));
    if (entry == nullptr)
        fail(path + " has no mexFunction");
    return entry;
}

}  // namespace

#define DAQGATE_GATEWAY(name)                                                           \
  extern "C" void gw_##name(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) \
  {                                                                                     \
    static Entry *const entry = load(#name);                                            \
    entry(nlhs, plhs, nrhs, prhs);                                                      \
  }
#include "gateways.inc"
#undef DAQGATE_GATEWAY
