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
// Bytes a frame of the file takes, or 0 for a coding of no fixed size.
sf_count_t frame_bytes(const SF_INFO &info)
{
    sf_count_t sample = 0;
    switch (info.format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_ULAW:
    case SF_FORMAT_ALAW: sample = 1; break;
    case SF_FORMAT_PCM_16: sample = 2; break;
    case SF_FORMAT_PCM_24: sample = 3; break;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT: sample = 4; break;
    case SF_FORMAT_DOUBLE: sample = 8; break;
    default: break;
    }
    return sample * info.channels;
}

// The frames the file's header says its sound holds, or -1 where it says
// none that can be read.  libsndfile counts what the file holds, so a file
// cut short opens as a shorter one; its data chunk (WAV's "data", AIFF's
// "SSND" behind its two words of offset and block size) keeps the length
// it was written with.
sf_count_t header_frames(SNDFILE *file, const SF_INFO &info)
{
    constexpr unsigned kUnknownLength = 0x7FFFF000;
    const sf_count_t bytes = frame_bytes(info);
    if (bytes == 0)
        return -1;
    const int major = info.format & SF_FORMAT_TYPEMASK;
    const char *id = major == SF_FORMAT_WAV ? "data" : major == SF_FORMAT_AIFF ? "SSND" : nullptr;
    if (id == nullptr)
        return -1;
    SF_CHUNK_INFO chunk{};
    std::strncpy(chunk.id, id, sizeof chunk.id - 1);
    chunk.id_size = 4;
    SF_CHUNK_ITERATOR *at = sf_get_chunk_iterator(file, &chunk);
    if (at == nullptr || sf_get_chunk_size(at, &chunk) != SF_ERR_NO_ERROR)
        return -1;
    // A writer that did not know the length (one writing to a pipe) leaves
    // the largest it can there.
    if (chunk.datalen >= kUnknownLength)
        return -1;
    const sf_count_t length = static_cast<sf_count_t>(chunk.datalen) - (major == SF_FORMAT_AIFF ? 8 : 0);
    return length < 0 ? -1 : length / bytes;
}

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
    sf_count_t read = 0;
    for (;;) {
        const sf_count_t got = sf_readf_float(file, block.data(), kBlock);
        if (got <= 0)
            break;
        read += got;
        for (sf_count_t frame = 0; frame < got; ++frame) {
            if (recording->volts.size() == most)
                throw refused(path, too_many(most));
            const float sample = block[static_cast<std::size_t>(frame * info.channels)];
            recording->volts.push_back(static_cast<float>(std::isfinite(sample) ? sample * kFullScale : 0.0));
        }
    }
    // A file cut short (a copy that stopped, a disk that filled) still
    // opens: its header tells how many frames it was meant to hold.
    const sf_count_t promised = header_frames(file, info);
    if (read < info.frames || read < promised)
        throw refused(path, "is cut short: its header tells of " +
                                std::to_string(promised > info.frames ? promised : info.frames) +
                                " frames and it holds " + std::to_string(read));
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
