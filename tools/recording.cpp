// recording.cpp - text and sound files read into volts.
#include "recording.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#if DAQGATE_HAVE_SNDFILE
#  include <sndfile.h>
#endif

namespace daqgate::tools {

namespace {

constexpr double kFullScale = 10.0;  // volts of a sound file's full scale

std::runtime_error refused(const std::string &path, const std::string &why)
{
    return std::runtime_error("'" + path + "' " + why);
}

std::string too_many(std::size_t most)
{
    return "holds more than " + std::to_string(most) + " values, the most the rig holds";
}

// The file at a path given in UTF-8 (on Windows the system names files in
// UTF-16, and a narrow path is read in the ANSI code page).
std::filesystem::path file_at(const std::string &path)
{
    return std::filesystem::u8path(path);
}

bool blank(const std::string &line)
{
    return line.find_first_not_of(" \t") == std::string::npos;
}

// One number, with nothing but spaces around it.
bool parse_number(const std::string &line, double *value)
{
    const char *begin = line.c_str();
    char *end = nullptr;
    errno = 0;
    *value = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE || !std::isfinite(*value))
        return false;
    return std::strspn(end, " \t") == std::strlen(end);
}

Recording read_text(const std::string &path, std::size_t most)
{
    std::ifstream in(file_at(path), std::ios::binary);
    if (!in)
        throw refused(path, "cannot be read");
    Recording recording;
    std::string line;
    long number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (blank(line))
            continue;
        double volts = 0;
        if (!parse_number(line, &volts))
            throw refused(path, "line " + std::to_string(number) + " is not one finite number of volts");
        if (recording.volts.size() == most)
            throw refused(path, too_many(most));
        recording.volts.push_back(static_cast<float>(volts));
    }
    if (in.bad())
        throw refused(path, "cannot be read");
    return recording;
}

// Whether the file begins as a sound file does.
bool looks_like_sound(const std::string &path)
{
    std::ifstream in(file_at(path), std::ios::binary);
    char magic[4] = {};
    in.read(magic, sizeof magic);
    return in.gcount() == 4 && (std::memcmp(magic, "RIFF", 4) == 0 || std::memcmp(magic, "RIFX", 4) == 0 ||
                                std::memcmp(magic, "FORM", 4) == 0 || std::memcmp(magic, "fLaC", 4) == 0 ||
                                std::memcmp(magic, "OggS", 4) == 0);
}

#if DAQGATE_HAVE_SNDFILE
// A sound file's first channel; false when libsndfile takes it for none.
bool read_sound(const std::string &path, std::size_t most, Recording *recording)
{
    SF_INFO info{};
    SNDFILE *file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr)
        return false;
    struct Closer {
        SNDFILE *file;
        ~Closer() { sf_close(file); }
    } closer{file};
    if (info.channels <= 0 || info.samplerate <= 0)
        throw refused(path, "is a sound file of no channel or no rate");
    if (info.frames < 0 || static_cast<unsigned long long>(info.frames) > most)
        throw refused(path, too_many(most));
    recording->rate = info.samplerate;
    recording->volts.reserve(static_cast<std::size_t>(info.frames));
    // In blocks of frames: a file of many channels never needs them all at once.
    constexpr sf_count_t kBlock = 4096;
    std::vector<float> block(static_cast<std::size_t>(kBlock) * static_cast<std::size_t>(info.channels));
    for (;;) {
        const sf_count_t got = sf_readf_float(file, block.data(), kBlock);
        if (got <= 0)
            break;
        for (sf_count_t frame = 0; frame < got; ++frame) {
            if (recording->volts.size() == most)
                throw refused(path, too_many(most));
            const float sample = block[static_cast<std::size_t>(frame * info.channels)];
            recording->volts.push_back(static_cast<float>(std::isfinite(sample) ? sample * kFullScale : 0.0));
        }
    }
    return true;
}
#endif

}  // namespace

bool sound_files_readable()
{
    return DAQGATE_HAVE_SNDFILE != 0;
}

Recording read_recording(const std::string &path, std::size_t most)
{
    std::error_code error;
    if (std::filesystem::is_directory(file_at(path), error))
        throw refused(path, "is a directory");
    if (!std::filesystem::is_regular_file(file_at(path), error))
        throw refused(path, "is not a file that can be read");
    Recording recording;
#if DAQGATE_HAVE_SNDFILE
    if (read_sound(path, most, &recording)) {
        if (recording.volts.empty())
            throw refused(path, "holds no values");
        return recording;
    }
#endif
    if (looks_like_sound(path) && !sound_files_readable())
        throw refused(path,
                      "is a sound file: this simboard reads text files only (built without libsndfile)");
    recording = read_text(path, most);
    if (recording.volts.empty())
        throw refused(path, "holds no values");
    return recording;
}

}  // namespace daqgate::tools
