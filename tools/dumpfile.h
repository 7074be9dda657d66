// dumpfile.h - a file written beside its destination under a temporary
// name and put in its place only when whole, so that a reader never finds
// half of it and a writer that dies leaves the old file as it was.
#ifndef DAQGATE_TOOLS_DUMPFILE_H
#define DAQGATE_TOOLS_DUMPFILE_H

#include <cstdio>
#include <string>

namespace daqgate::tools {

class DumpFile {
public:
    DumpFile() = default;
    DumpFile(const DumpFile &) = delete;
    DumpFile &operator=(const DumpFile &) = delete;
    // A file never committed is removed.
    ~DumpFile();

    enum class Opened { ready, busy, failed };
    // Opens PATH.partial, held for this process alone: busy while another
    // process writes the same path.  A file left by one that was killed
    // is taken over.
    Opened open(const std::string &path);
    std::FILE *stream() const { return stream_; }

    // Flushes and closes the file and renames it to the path; false if any
    // of it failed, the temporary then removed.
    bool commit();
    // Closes and removes the temporary file.
    void abandon();

    // A scratch file beside the dump, that no name keeps: removed from its
    // folder as it is made (on Windows, when closed), so that a process
    // killed leaves none.  Null if it cannot be made; the caller closes it.
    std::FILE *scratch() const;

private:
    std::string path_, temporary_;
    std::FILE *stream_ = nullptr;
#if defined(_WIN32)
    void *handle_ = nullptr;
#endif
};

}  // namespace daqgate::tools

#endif
