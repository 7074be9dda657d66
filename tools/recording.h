// recording.h - the volts of a file for an input to play: a text file of
// one number per line, or a sound file (where simboard is built with
// libsndfile).
#ifndef DAQGATE_TOOLS_RECORDING_H
#define DAQGATE_TOOLS_RECORDING_H

#include <cstddef>
#include <string>
#include <vector>

namespace daqgate::tools {

struct Recording {
    std::vector<float> volts;
    double rate = 0;  // the file's own rate in hertz, 0 for a text file
};

// Whether sound files can be read here.
bool sound_files_readable();

// The volts of the file at path, at most `most` of them.  A text file holds
// one finite number per line (blank lines skipped, CRLF line ends taken);
// a sound file's first channel is read, full scale being +-10 V.  Throws
// std::runtime_error with a one-line reason for anything else.
Recording read_recording(const std::string &path, std::size_t most);

}  // namespace daqgate::tools

#endif
