// scratch.h - the simulator tests' files: a path of this process's own in
// the temporary folder, and the environment variable that names the rig,
// on every platform the simulator runs on.
#ifndef DAQGATE_TESTS_SCRATCH_H
#define DAQGATE_TESTS_SCRATCH_H

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#if defined(_WIN32)
#  include <process.h>
#else
#  include <unistd.h>
#endif

namespace scratch {

inline int process_id()
{
#if defined(_WIN32)
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

// stem-PID in the temporary folder.
inline std::string path(const std::string &stem)
{
    return (std::filesystem::temp_directory_path() / (stem + "-" + std::to_string(process_id()))).string();
}

inline void remove(const std::string &file)
{
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
}

// A file stem-PID of this process's own: absent when made, removed
// however the test ends.
struct File {
    explicit File(const std::string &stem) : path(scratch::path(stem)) { remove(path); }
    ~File() { remove(path); }
    File(const File &) = delete;
    File &operator=(const File &) = delete;
    const std::string path;
};

inline void set_env(const char *name, const std::string &value)
{
#if defined(_WIN32)
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

}  // namespace scratch

#endif
