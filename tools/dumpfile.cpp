// dumpfile.cpp - the temporary file beside a dump, locked while written and
// renamed into place when whole.
#include "dumpfile.h"

#include <cstdio>
#include <string>

#if defined(_WIN32)
#  include <fcntl.h>
#  include <io.h>
#  include <windows.h>

#  include "rigfile.h"
#else
#  include <fcntl.h>
#  include <sys/file.h>
#  include <sys/stat.h>
#  include <unistd.h>
#endif

namespace daqgate::tools {

DumpFile::~DumpFile()
{
    abandon();
}

#if defined(_WIN32)

DumpFile::Opened DumpFile::open(const std::string &path)
{
    path_ = path;
    temporary_ = path + ".partial";
    // No share but deletion: a second writer of the same path is refused
    // while this one holds it, and the file may be renamed while open.
    HANDLE handle = CreateFileW(sim::utf16(temporary_).c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION ? Opened::busy : Opened::failed;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        DeleteFileW(sim::utf16(temporary_).c_str());
        return Opened::failed;
    }
    stream_ = _fdopen(fd, "wb");
    if (stream_ == nullptr) {
        _close(fd);
        DeleteFileW(sim::utf16(temporary_).c_str());
        return Opened::failed;
    }
    handle_ = handle;
    return Opened::ready;
}

bool DumpFile::commit()
{
    if (stream_ == nullptr)
        return false;
    bool ok = std::fflush(stream_) == 0 && !std::ferror(stream_);
    // Renamed while still open, so that no other writer opens it between.
    ok = ok && MoveFileExW(sim::utf16(temporary_).c_str(), sim::utf16(path_).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    handle_ = nullptr;
    if (!ok)
        DeleteFileW(sim::utf16(temporary_).c_str());
    return ok && closed;
}

void DumpFile::abandon()
{
    if (stream_ == nullptr)
        return;
    std::fclose(stream_);
    stream_ = nullptr;
    handle_ = nullptr;
    DeleteFileW(sim::utf16(temporary_).c_str());
}

std::FILE *DumpFile::scratch() const
{
    const std::wstring name = sim::utf16(temporary_ + ".changes-" + std::to_string(GetCurrentProcessId()));
    HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDWR | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE *file = _fdopen(fd, "w+b");
    if (file == nullptr)
        _close(fd);
    return file;
}

#else

DumpFile::Opened DumpFile::open(const std::string &path)
{
    path_ = path;
    temporary_ = path + ".partial";
    // The lock is on the file under the temporary name: a file that was
    // renamed into place by the writer before, or removed, while this one
    // waited for it, is not the one to write: open it again.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const int fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW, 0666);
        if (fd < 0)
            return Opened::failed;
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return Opened::busy;
        }
        struct stat held {
        }, named{};
        if (fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
            ::close(fd);
            return Opened::failed;
        }
        if (stat(temporary_.c_str(), &named) != 0 || named.st_dev != held.st_dev ||
            named.st_ino != held.st_ino) {
            ::close(fd);
            continue;
        }
        if (ftruncate(fd, 0) != 0 || (stream_ = fdopen(fd, "wb")) == nullptr) {
            ::close(fd);
            ::unlink(temporary_.c_str());
            return Opened::failed;
        }
        return Opened::ready;
    }
    return Opened::busy;
}

bool DumpFile::commit()
{
    if (stream_ == nullptr)
        return false;
    bool ok = std::fflush(stream_) == 0 && !std::ferror(stream_);
    // Renamed while locked, so that the next writer finds a new file.
    ok = ok && std::rename(temporary_.c_str(), path_.c_str()) == 0;
    if (!ok)
        ::unlink(temporary_.c_str());
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    return ok && closed;
}

void DumpFile::abandon()
{
    if (stream_ == nullptr)
        return;
    ::unlink(temporary_.c_str());
    std::fclose(stream_);
    stream_ = nullptr;
}

std::FILE *DumpFile::scratch() const
{
    std::string name = temporary_ + ".changes-XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd < 0)
        return nullptr;
    ::unlink(name.c_str());
    std::FILE *file = fdopen(fd, "w+b");
    if (file == nullptr)
        ::close(fd);
    return file;
}

#endif

}  // namespace daqgate::tools
