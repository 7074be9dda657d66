// api.cpp - the driver operations of the simulated board: glue between the
// C interface the gateways call and the rig of rig.cpp.
#include "cbw32.h"

#include <mutex>

#include "rig.h"

namespace daqgate::sim {
namespace {

std::atomic<Rig *> attached{nullptr};
std::mutex attaching;

// The rig of this process, opened on first use from $DAQGATE_RIG (or the
// per-user default).  A failed open is tried again at the next call, so a
// script can go on after 'simboard reset' mends the file.  Once open, this
// is a single atomic load.
Rig *rig(Status *status)
{
    Rig *open = attached.load(std::memory_order_acquire);
    if (open != nullptr)
        return open;
    const std::lock_guard<std::mutex> guard(attaching);
    open = attached.load(std::memory_order_acquire);
    if (open == nullptr) {
        // Lives as long as the process: other threads may hold it.
        auto *fresh = new Rig;
        *status = fresh->open(default_rig_path());
        if (*status != kNoError) {
            delete fresh;
            return nullptr;
        }
        attached.store(fresh, std::memory_order_release);
        open = fresh;
    }
    return open;
}

}  // namespace
}  // namespace daqgate::sim

using namespace daqgate::sim;

extern "C" {

CBW_EXPORT int CBWINAPI cbReadPort(int board, int port, unsigned short *value)
{
    Status status = kNoError;
    Rig *r = rig(&status);
    return r ? r->read_port(board, port, value) : status;
}

CBW_EXPORT int CBWINAPI cbWritePort(int board, int port, unsigned short value)
{
    Status status = kNoError;
    Rig *r = rig(&status);
    return r ? r->write_port(board, port, value) : status;
}

CBW_EXPORT int CBWINAPI cbSetPortDirection(int board, int port, int direction)
{
    Status status = kNoError;
    Rig *r = rig(&status);
    return r ? r->set_direction(board, port, direction) : status;
}

CBW_EXPORT int CBWINAPI cbErrorText(int code, char *text)
{
    status_text(code, text, CB_ERRSTRLEN);
    return kNoError;
}

CBW_EXPORT int CBWINAPI cbBoardLabel(int board, char *name)
{
    name[0] = '\0';
    if (!Rig::valid_board(board))
        return kBadBoard;
    board_name(board, name, CB_BOARDNAMELEN);
    return kNoError;
}

}  // extern "C"
