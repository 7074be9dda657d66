// decoders.h - the link's decoder for sigrok, carried by simboard and put
// where libsigrokdecode looks for a user's decoders.
#ifndef DAQGATE_TOOLS_DECODERS_H
#define DAQGATE_TOOLS_DECODERS_H

#include <cstddef>
#include <string>

namespace daqgate::tools {

struct DecoderFile {
    const char *name;
    const unsigned char *data;
    std::size_t size;
};
// The files of tools/decoder/daqgate_link, as built in.
extern const DecoderFile kDecoderFiles[];
extern const std::size_t kDecoderFileCount;

// The folder of a user's decoders that libsigrokdecode searches (GLib's
// user data folder): $XDG_DATA_HOME or ~/.local/share, %LOCALAPPDATA% on
// Windows, then libsigrokdecode/decoders; empty when none is set.
std::string user_decoders_folder();

// Puts the decoder's files in FOLDER/daqgate_link, each whole, over
// earlier copies of daqgate's own only; says on stdout what it did and
// returns an empty text, or the reason it refused or failed.
std::string install_decoder(const std::string &folder);

}  // namespace daqgate::tools

#endif
