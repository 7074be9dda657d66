// rigfile_win32.cpp - the rig file on Windows: CreateFile, LockFileEx, a
// file mapping, and QueryPerformanceCounter; and paths at Windows' edge.
//
// Paths are UTF-8 inside and go to Windows' wide (UTF-16) calls: the
// narrow ones read and make names in the ANSI code page, which cannot
// name a folder of a user whose profile is in Cyrillic, Greek or CJK.
//
// Windows refuses to shrink a file that any process has mapped, so a rig
// cannot be cut under a mapping here; the loss there is to be watched for
// is the file removed or replaced under its name, which look() finds by
// the file's identity.
#include "rigfile.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include <windows.h>

namespace daqgate::sim {

namespace {

// The lock is a byte far beyond any rig's end: Windows locks are mandatory
// for reads and writes through a handle, and locking the rig's own bytes
// would get in the way of a tool that reads the file.
constexpr DWORD kLockOffsetHigh = 0x40000000;

HANDLE handle_of(void *h)
{
    return static_cast<HANDLE>(h);
}

HANDLE open_file(const std::string &path, bool create)
{
    const std::wstring name = utf16(path);
    if (name.empty() || name.find(L'\0') != std::wstring::npos)
        return INVALID_HANDLE_VALUE;
    // Shared for reading, writing and deleting: another process may map
    // the same rig, and a tool may remove or replace it.
    return CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       create ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A file on a disk (CreateFile opens no folder without being asked to).
bool is_regular(HANDLE file)
{
    return GetFileType(file) == FILE_TYPE_DISK;
}

// The system's text for an error, on one line.
std::string error_text(DWORD error)
{
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::string said = length > 0 && text != nullptr ? utf8(std::wstring(text, length)) : std::string();
    LocalFree(text);
    while (!said.empty() &&
           (said.back() == '\n' || said.back() == '\r' || said.back() == ' ' || said.back() == '.'))
        said.pop_back();
    return said.empty() ? "error " + std::to_string(error) : said;
}

std::string quoted(const std::string &path)
{
    return "'" + path + "'";
}

// Opens what stands at path for a rig: the file's handle, or
// INVALID_HANDLE_VALUE with the status and the problem in words.  A
// missing file is made with CREATE_NEW, which never opens what another
// process put there meanwhile.  %TEMP% is the user's own folder, which
// others cannot write: a personal rig there is refused only when it is a
// link (a reparse point), which is never followed.
HANDLE open_rig(const std::string &path, bool create, RigAccess access, Status *status, std::string *problem)
{
    const std::wstring name = utf16(path);
    if (name.empty() || name.find(L'\0') != std::wstring::npos) {
        *status = kRigOpen;
        *problem = "cannot open " + quoted(path) + ": not a path Windows can name";
        return INVALID_HANDLE_VALUE;
    }
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        const char *kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? "a folder"
                           : access == RigAccess::personal && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0
                               ? "a link"
                               : nullptr;
        if (kind != nullptr) {
            *status = kRigNotFile;
            *problem = quoted(path) + " is " + kind + ", not a regular file";
            return INVALID_HANDLE_VALUE;
        }
    }
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const DWORD flags =
        FILE_ATTRIBUTE_NORMAL | (access == RigAccess::personal ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    HANDLE file = INVALID_HANDLE_VALUE;
    DWORD error = 0;
    for (int tries = 0; tries < 8; ++tries) {
        file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING, flags,
                           nullptr);
        error = GetLastError();
        if (file != INVALID_HANDLE_VALUE || error != ERROR_FILE_NOT_FOUND || !create)
            break;
        file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, CREATE_NEW, flags,
                           nullptr);
        error = GetLastError();
        if (file != INVALID_HANDLE_VALUE || error != ERROR_FILE_EXISTS)
            break;
    }
    if (file == INVALID_HANDLE_VALUE) {
        *status = kRigOpen;
        *problem = "cannot open " + quoted(path) + ": " + error_text(error);
        return INVALID_HANDLE_VALUE;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    // Only a file on a disk keeps its contents for every process that maps it.
    if (!is_regular(file) || !GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        CloseHandle(file);
        *status = kRigNotFile;
        *problem = quoted(path) + " is not a regular file";
        return INVALID_HANDLE_VALUE;
    }
    *status = kNoError;
    return file;
}

int64_t size_of(HANDLE file)
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size))
        return -1;
    return size.QuadPart;
}

// Whether two handles name the same file.
bool same_file(HANDLE a, HANDLE b)
{
    BY_HANDLE_FILE_INFORMATION one{}, other{};
    return GetFileInformationByHandle(a, &one) && GetFileInformationByHandle(b, &other) &&
           one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
           one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow;
}

std::size_t granule()
{
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return info.dwAllocationGranularity;
}

// An environment variable's value; empty when it is unset or empty.
std::wstring environment(const wchar_t *name)
{
    std::wstring value(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
        if (length < value.size()) {
            value.resize(length);
            return value;
        }
        value.resize(length);  // too short: the length it takes, with its terminator
    }
}

}  // namespace

std::wstring utf16(const std::string &text)
{
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
    return wide;
}

std::string utf8(const std::wstring &text)
{
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return {};
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), size, narrow.data(), length, nullptr,
                        nullptr);
    return narrow;
}

std::FILE *open_file_utf8(const std::string &path, const char *mode)
{
    const std::wstring name = utf16(path), how = utf16(mode);
    if (name.empty() || how.empty() || name.find(L'\0') != std::wstring::npos)
        return nullptr;
    return _wfopen(name.c_str(), how.c_str());
}

double monotonic_seconds()
{
    static const double period = [] {
        LARGE_INTEGER frequency{};
        QueryPerformanceFrequency(&frequency);
        return 1.0 / static_cast<double>(frequency.QuadPart);
    }();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * period;
}

RigPlace default_rig()
{
    if (const std::wstring path = environment(L"DAQGATE_RIG"); !path.empty())
        return {utf8(path), RigAccess::named};
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    std::string path = length > 0 && length <= MAX_PATH ? utf8(std::wstring(folder, length)) : std::string();
    if (path.empty())
        path = ".\\";
    if (path.back() != '\\' && path.back() != '/')
        path += '\\';
    return {path + "daqgate-rig", RigAccess::personal};
}

const char *default_rig_text()
{
    return "%DAQGATE_RIG% or %TEMP%\\daqgate-rig";
}

void keep_loaded()
{
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&keep_loaded), &self);
}

bool RigFile::is_open() const
{
    return native_.file != nullptr;
}

void RigFile::release()
{
    if (base_ != nullptr)
        UnmapViewOfFile(base_);
    if (native_.section != nullptr)
        CloseHandle(handle_of(native_.section));
    if (native_.file != nullptr)
        CloseHandle(handle_of(native_.file));
    delete flag_;
    flag_ = nullptr;
    base_ = native_.section = native_.file = nullptr;
    bytes_ = wanted_ = 0;
}

Status RigFile::open(const std::string &path, bool create, RigAccess access)
{
    release();
    path_ = path;
    access_ = access;
    problem_.clear();
    reason_.clear();
    Status status = kNoError;
    const HANDLE file = open_rig(path, create, access, &status, &problem_);
    if (file == INVALID_HANDLE_VALUE)
        return status;
    native_.file = file;
    return kNoError;
}

Status RigFile::failed(Status status)
{
    reason_ = error_text(GetLastError());
    return status;
}

RigFile::Attempt RigFile::try_lock() const
{
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    if (LockFileEx(handle_of(native_.file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                   &at))
        return Attempt::taken;
    const DWORD error = GetLastError();
    return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? Attempt::busy : Attempt::failed;
}

void RigFile::unlock() const
{
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    UnlockFileEx(handle_of(native_.file), 0, 1, 0, &at);
}

int64_t RigFile::size() const
{
    return native_.file == nullptr ? -1 : size_of(handle_of(native_.file));
}

std::size_t RigFile::read_head(void *into, std::size_t bytes) const
{
    OVERLAPPED at{};  // from the first byte, whatever the file's position
    DWORD got = 0;
    if (bytes > MAXDWORD || !ReadFile(handle_of(native_.file), into, static_cast<DWORD>(bytes), &got, &at))
        return 0;
    return got;
}

Status RigFile::resize(std::size_t bytes)
{
    // A file that is neither sparse nor compressed (as this one, made
    // here) gets its clusters when its end moves: a full disk refuses it
    // here, and the mapping, backed by the file and not by the paging
    // file, commits nothing more.
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(bytes);
    if (SetFileInformationByHandle(handle_of(native_.file), FileEndOfFileInfo, &end, sizeof end))
        return kNoError;
    const DWORD error = GetLastError();
    return failed(error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ? kRigNoRoom : kRigOpen);
}

Status RigFile::reserve(std::size_t, std::size_t)
{
    // Held already by resize() (above).
    return kNoError;
}

void *RigFile::map(std::size_t bytes)
{
    if (native_.file == nullptr || base_ != nullptr || bytes == 0)
        return nullptr;
    if (size_of(handle_of(native_.file)) < static_cast<int64_t>(bytes))
        return nullptr;
    const HANDLE section =
        CreateFileMappingW(handle_of(native_.file), nullptr, PAGE_READWRITE, 0, 0, nullptr);
    if (section == nullptr)
        return nullptr;
    void *base = MapViewOfFile(section, FILE_MAP_ALL_ACCESS, 0, 0, bytes);
    auto *flag = new (std::nothrow) std::atomic<int>(0);
    if (base == nullptr || flag == nullptr) {
        if (base != nullptr)
            UnmapViewOfFile(base);
        CloseHandle(section);
        delete flag;
        return nullptr;
    }
    native_.section = section;
    base_ = base;
    wanted_ = bytes;
    bytes_ = (bytes + granule() - 1) / granule() * granule();
    flag_ = flag;
    return base;
}

void RigFile::mark_lost()
{
    if (flag_ != nullptr)
        flag_->store(1, std::memory_order_release);
}

bool RigFile::look()
{
    if (lost())
        return false;
    const HANDLE named = open_file(path_, false);
    bool backed = named != INVALID_HANDLE_VALUE && same_file(named, handle_of(native_.file)) &&
                  size_of(handle_of(native_.file)) >= static_cast<int64_t>(wanted_);
    if (named != INVALID_HANDLE_VALUE)
        CloseHandle(named);
    if (backed) {
        // Removed but still open somewhere: the name is no longer the rig.
        FILE_STANDARD_INFO info{};
        backed =
            GetFileInformationByHandleEx(handle_of(native_.file), FileStandardInfo, &info, sizeof info) &&
            !info.DeletePending && info.NumberOfLinks > 0;
    }
    if (!backed)
        mark_lost();
    return backed;
}

bool RigFile::take_back(const std::function<bool(const void *)> &valid)
{
    if (base_ == nullptr)
        return false;
    // The file now at the name, held to what the first open held it to.
    Status status = kNoError;
    std::string problem;
    const HANDLE file = open_rig(path_, false, access_, &status, &problem);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    HANDLE section = nullptr;
    bool ok = size_of(file) >= static_cast<int64_t>(wanted_);
    if (ok)
        ok = (section = CreateFileMappingW(file, nullptr, PAGE_READWRITE, 0, 0, nullptr)) != nullptr;
    if (ok) {
        // Looked at through a view of its own before it replaces ours.
        const void *look = MapViewOfFile(section, FILE_MAP_READ, 0, 0, wanted_);
        ok = look != nullptr && valid(look);
        if (look != nullptr)
            UnmapViewOfFile(look);
    }
    if (ok) {
        // Windows maps no view over another: the old one goes, and the new
        // one takes its address at once.  Should another thread take the
        // address in between, the old view goes back, or failing that zero
        // pages, so that the rig's address never faults.
        UnmapViewOfFile(base_);
        if (MapViewOfFileEx(section, FILE_MAP_ALL_ACCESS, 0, 0, wanted_, base_) != base_) {
            ok = false;
            if (MapViewOfFileEx(handle_of(native_.section), FILE_MAP_ALL_ACCESS, 0, 0, wanted_, base_) !=
                base_)
                VirtualAlloc(base_, wanted_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        }
    }
    if (!ok) {
        if (section != nullptr)
            CloseHandle(section);
        CloseHandle(file);
        return false;
    }
    CloseHandle(handle_of(native_.section));
    CloseHandle(handle_of(native_.file));
    native_.section = section;
    native_.file = file;
    flag_->store(0, std::memory_order_release);
    return true;
}

}  // namespace daqgate::sim
