// rig_probe RIG - reads every board name, port and analog input of the
// rig file RIG through the driver's C interface, as a script would, and
// exits 0 when every call ended with success or with the status of a rig
// holding invalid data; a crash or a hang is the caller's finding.
#include <cstdio>
#include <cstdlib>

#include "cbw32.h"
#include "status.h"

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: rig_probe RIG\n");
        return 2;
    }
    setenv("DAQGATE_RIG", argv[1], 1);
    int unexpected = 0, invalid = 0;
    const auto expect = [&](int status, const char *what, int board, int n) {
        if (status == daqgate::sim::kRigCorrupt)
            ++invalid;
        else if (status != 0 && ++unexpected < 10)
            std::fprintf(stderr, "rig_probe: %s %d.%d: status %d\n", what, board, n, status);
    };
    for (int board = 0; board < 4; ++board) {
        char name[CB_BOARDNAMELEN];
        expect(cbBoardLabel(board, name), "cbBoardLabel", board, 0);
        for (int port = 0; port < 32; ++port) {
            unsigned short value = 0;
            expect(cbReadPort(board, port, &value), "cbReadPort", board, port);
        }
        for (int channel = 0; channel < 16; ++channel) {
            unsigned short counts = 0;
            expect(cbReadAnalog(board, channel, 0, &counts), "cbReadAnalog", board, channel);
        }
        const DaqHandle buffer = cbNewSampleBuffer(64);
        int rate = 100000;
        expect(cbReadAnalogScan(board, 0, 15, 64, &rate, 0, buffer, 0), "cbReadAnalogScan", board, 0);
        const short channels[] = {1, 2}, ranges[] = {0, 0};
        expect(cbSetGainQueue(board, channels, ranges, 2), "cbSetGainQueue", board, 0);
    }
    std::printf("rig_probe: %d calls found invalid data, %d unexpected statuses\n", invalid, unexpected);
    return unexpected == 0 ? 0 : 1;
}
