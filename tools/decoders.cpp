// decoders.cpp - 'simboard decoder install': the link's decoder put where
// PulseView and sigrok-cli find it without SIGROKDECODE_DIR.
#include "decoders.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "dumpfile.h"

namespace daqgate::tools {

namespace fs = std::filesystem;

namespace {

// Every file of ours opens with these lines.
constexpr const char *kMark = "##\n## This file is part of daqgate.\n";

std::string environment(const char *name)
{
    const char *value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

std::string user_decoders_folder()
{
#if defined(_WIN32)
    const std::string base = environment("LOCALAPPDATA");
#else
    std::string base = environment("XDG_DATA_HOME");
    if (base.empty() || base[0] != '/') {
        const std::string home = environment("HOME");
        base = home.empty() ? "" : home + "/.local/share";
    }
#endif
    if (base.empty())
        return "";
    return (fs::path(base) / "libsigrokdecode" / "decoders").string();
}

std::string install_decoder(const std::string &folder)
{
    const fs::path target = fs::path(folder) / "daqgate_link";
    std::error_code error;
    // A link stands for another's file or folder: none is followed.
    if (fs::is_symlink(fs::symlink_status(target, error)))
        return "'" + target.string() + "' is a symbolic link, not daqgate's: left as it is";
    if (fs::exists(fs::symlink_status(target, error)) && !fs::is_directory(fs::symlink_status(target, error)))
        return "'" + target.string() + "' is not a folder: left as it is";
    // Each file there is ours or absent before any is written.
    for (std::size_t i = 0; i < kDecoderFileCount; ++i) {
        const fs::path file = target / kDecoderFiles[i].name;
        const fs::file_status status = fs::symlink_status(file, error);
        if (!fs::exists(status))
            continue;
        if (!fs::is_regular_file(status))
            return "'" + file.string() + "' is not a plain file: left as it is";
        std::ifstream in(file, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (text.compare(0, std::string(kMark).size(), kMark) != 0)
            return "'" + file.string() + "' is not daqgate's decoder: left as it is";
    }
    fs::create_directories(target, error);
    if (error)
        return "cannot make '" + target.string() + "': " + error.message();
    for (std::size_t i = 0; i < kDecoderFileCount; ++i) {
        const fs::path file = target / kDecoderFiles[i].name;
        DumpFile out;
        if (out.open(file.string()) != DumpFile::Opened::ready ||
            std::fwrite(kDecoderFiles[i].data, 1, kDecoderFiles[i].size, out.stream()) != kDecoderFiles[i].size ||
            !out.commit())
            return "cannot write '" + file.string() + "'";
    }
    std::printf("installed the decoder daqgate_link in '%s'\n", target.string().c_str());
    return "";
}

}  // namespace daqgate::tools
