// test_api_version.cpp - the MATLAB-shaped modules as the host first meets
// them: each, loaded beside the stand-in host of its API, answers
// mexfilerequiredapiversion with the API it was built for and the release
// that built it, and the host it loads with has no unversioned
// mxCreateDoubleMatrix (the entry with 32-bit sizes) for it to reach.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

namespace {

using ApiVersion = void(unsigned int *built_by_rel, unsigned int *target_api_ver);

const std::vector<std::string> kGateways = {
#define DAQGATE_GATEWAY(name) #name,
#include "gateways.inc"
#undef DAQGATE_GATEWAY
};

std::string own_folder()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

template <typename F>
F *entry(HMODULE module, const char *name)
{
    return reinterpret_cast<F *>(reinterpret_cast<void *>(GetProcAddress(module, name)));
}

TEST(ApiVersion, EveryModuleReportsTheApiItWasBuiltForAndItsRelease)
{
    // The host's libraries are loaded before any module, as MATLAB's are.
    ASSERT_NE(LoadLibraryA("libmex.dll"), nullptr);
    ASSERT_NE(LoadLibraryA("libut.dll"), nullptr);
    for (const std::string &name : kGateways) {
        const std::string path = own_folder() + "..\\mex\\" + name + DAQGATE_MEX_SUFFIX;
        HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        ASSERT_NE(module, nullptr) << path << " does not load (error " << GetLastError() << ")";
        ApiVersion *version = entry<ApiVersion>(module, "mexfilerequiredapiversion");
        ASSERT_NE(version, nullptr) << name;
        EXPECT_NE(GetProcAddress(module, "mexFunction"), nullptr) << name;
        unsigned int release = 0, target = 0;
        version(&release, &target);
        EXPECT_EQ(target, DAQGATE_MATLAB_API_NUMBER) << name;
        EXPECT_EQ(release, DAQGATE_MATLAB_RELEASE) << name;
        FreeLibrary(module);
    }
}

TEST(ApiVersion, TheStandInHostHasNoEntryWith32BitSizes)
{
    HMODULE libmx = LoadLibraryA("libmx.dll");
    ASSERT_NE(libmx, nullptr);
    EXPECT_EQ(GetProcAddress(libmx, "mxCreateDoubleMatrix"), nullptr);
#if DAQGATE_MATLAB_API_NUMBER == 0x08000000
    EXPECT_NE(GetProcAddress(libmx, "mxCreateDoubleMatrix_800"), nullptr);
    EXPECT_EQ(GetProcAddress(libmx, "mxCreateDoubleMatrix_730"), nullptr);
    EXPECT_EQ(GetProcAddress(libmx, "mxGetPr"), nullptr);
#else
    EXPECT_NE(GetProcAddress(libmx, "mxCreateDoubleMatrix_730"), nullptr);
    EXPECT_EQ(GetProcAddress(libmx, "mxCreateDoubleMatrix_800"), nullptr);
    EXPECT_NE(GetProcAddress(libmx, "mxGetPr"), nullptr);
#endif
    FreeLibrary(libmx);
}

}  // namespace
