// guard_host RIG OTHER CASE - a host process, fresh, whose SIGBUS handling
// meets the rig's guard as CASE says; RIG is a rig file it may shrink,
// OTHER a file of its own to fault a mapping of.  Every case ends by
// shrinking the rig under its mapping (the guard must take that fault:
// exits 3 if the rig was not marked lost) and then faulting a mapping of
// OTHER, which is no rig's: how the process ends then is the finding.
//   exit-before  a handler that exits 42 installed before the rig is opened
//   default-before, ignore-before  SIGBUS left to its default, or ignored
//   exit-after   the same handler installed after the rig is opened, and
//                the rig looked at twice: the handler stays the host's
//                (exits 4 if it was replaced), so the rig's fault is its too
//   chain-after  a handler installed after the rig is opened that hands
//                every fault to the one it replaced, as a well-behaved
//                host's does: the rig's fault reaches the guard
#include <cstdio>
#include <cstring>
#include <string>

#include <csignal>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include "rig.h"

using namespace daqgate::sim;

namespace {

struct sigaction replaced;

void exit_42(int)
{
    _exit(42);
}

void hand_on(int sig, siginfo_t *info, void *context)
{
    if ((replaced.sa_flags & SA_SIGINFO) != 0 && replaced.sa_sigaction != nullptr)
        replaced.sa_sigaction(sig, info, context);
    else if (replaced.sa_handler != SIG_DFL && replaced.sa_handler != SIG_IGN)
        replaced.sa_handler(sig);
    else
        signal(SIGBUS, SIG_DFL);
}

void install(void (*handler)(int))
{
    struct sigaction theirs {};
    theirs.sa_handler = handler;
    sigemptyset(&theirs.sa_mask);
    sigaction(SIGBUS, &theirs, nullptr);
}

void install_chaining()
{
    struct sigaction theirs {};
    theirs.sa_sigaction = hand_on;
    theirs.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&theirs.sa_mask);
    sigaction(SIGBUS, &theirs, &replaced);
}

bool still_ours(void (*handler)(int))
{
    struct sigaction now {};
    return sigaction(SIGBUS, nullptr, &now) == 0 && (now.sa_flags & SA_SIGINFO) == 0 &&
           now.sa_handler == handler;
}

// Reads a mapping of a file that shrank under it, which raises SIGBUS;
// exits 2 if the read came back instead.
[[noreturn]] void fault_elsewhere(const char *path)
{
    const int fd = ::open(path, O_RDWR | O_CREAT, 0600);
    if (fd >= 0 && ftruncate(fd, 8192) == 0) {
        auto *bytes =
            static_cast<volatile char *>(mmap(nullptr, 8192, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0));
        if (bytes != MAP_FAILED && ftruncate(fd, 0) == 0)
            (void)bytes[100];
    }
    _exit(2);
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: guard_host RIG OTHER CASE\n");
        return 1;
    }
    alarm(20);  // a handler that returns to the fault for ever is a finding, not a hang
    const std::string path = argv[1], which = argv[3];
    if (which == "exit-before")
        install(exit_42);
    else if (which == "default-before")
        install(SIG_DFL);
    else if (which == "ignore-before")
        install(SIG_IGN);
    else if (which != "exit-after" && which != "chain-after")
        return 1;
    Rig rig;
    if (rig.open(path) != kNoError)
        return 1;
    if (which == "exit-after") {
        install(exit_42);
        rig.look();
        rig.look();
        if (!still_ours(exit_42))
            return 4;
    } else if (which == "chain-after") {
        install_chaining();
        rig.look();
    }
    if (truncate(path.c_str(), 0) != 0)
        return 1;
    uint16_t value = 0;
    rig.read_port(0, 0, &value);
    if (!rig.lost())
        return 3;
    fault_elsewhere(argv[2]);
}
