// link_peer.h - scripted far ends of the handshake text link, answering a
// gateway through the fake driver's port handlers.
#ifndef DAQGATE_TESTS_LINK_PEER_H
#define DAQGATE_TESTS_LINK_PEER_H

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "fake_driver.h"

namespace linkpeer {

using Clock = std::chrono::steady_clock;

struct Ports {
    int data, sender, receiver;
};

// The writing end, for testing readers: starts with its first byte on the
// data port and the sender bit up, lowers it when the reader's bit goes
// up, and offers the next byte when the reader's bit goes down.
struct Writer {
    Ports ports;
    std::string text;
    unsigned short sender_value = 1;  // what a raised sender bit reads as
    unsigned short data_high = 0;     // lines 8-15 of the data port
    bool never_lowers = false;        // keeps the request up for ever
    double answer_after = 0;          // seconds before it answers the read bit
    size_t sent = 0;                  // bytes taken so far
    bool sender_up = false;
    bool receiver_up = false;
    Clock::time_point receiver_rose;

    Writer(Ports p, std::string t) : ports(p), text(std::move(t)) {}

    // Installs the handlers; the object must outlive the calls.
    void attach()
    {
        sender_up = !text.empty();
        fake::driver.read_port = [this](int, int port, unsigned short *value) {
            if (port == ports.sender) {
                const bool due =
                    std::chrono::duration<double>(Clock::now() - receiver_rose).count() >= answer_after;
                if (receiver_up && sender_up && !never_lowers && due)
                    sender_up = false;  // the writer saw the acknowledge
                *value = sender_up ? sender_value : 0;
            } else if (port == ports.data) {
                *value = static_cast<unsigned short>(
                    data_high | static_cast<unsigned char>(sent < text.size() ? text[sent] : 0));
            } else {
                *value = 0;
            }
            return 0;
        };
        fake::driver.write_port = [this](int, int port, unsigned short value) {
            if (port != ports.receiver)
                return 0;
            if (value != 0 && !receiver_up) {
                receiver_up = true;
                receiver_rose = Clock::now();
            } else if (value == 0 && receiver_up) {
                receiver_up = false;
                sender_up = ++sent < text.size();  // the next request, if any
            }
            return 0;
        };
    }
};

// The reading end, for testing writers: raises its bit when the request
// comes and lowers it when the request goes, recording every byte.
struct Reader {
    Ports ports;
    std::vector<unsigned short> received;  // data port values at each request
    bool receiver_up = false;              // a bit left up by an earlier failure
    bool never_answers = false;
    double answer_after = 0;  // seconds between request and acknowledge
    double stall = 0;         // seconds the first poll of a request is held
    unsigned short data = 0;
    bool request = false;
    Clock::time_point requested;

    explicit Reader(Ports p) : ports(p) {}

    void attach()
    {
        fake::driver.read_port = [this](int, int port, unsigned short *value) {
            if (port == ports.receiver) {
                if (request && stall > 0) {
                    std::this_thread::sleep_for(std::chrono::duration<double>(stall));
                    stall = 0;
                }
                const bool due =
                    std::chrono::duration<double>(Clock::now() - requested).count() >= answer_after;
                if (request && !receiver_up && !never_answers && due) {
                    received.push_back(data);
                    receiver_up = true;
                }
                *value = receiver_up ? 1 : 0;
            } else {
                *value = 0;
            }
            return 0;
        };
        fake::driver.write_port = [this](int, int port, unsigned short value) {
            if (port == ports.data) {
                data = value;
            } else if (port == ports.sender) {
                if (value != 0 && !request)
                    requested = Clock::now();
                request = value != 0;
                if (!request && !never_answers)
                    receiver_up = false;  // done with this byte
            }
            return 0;
        };
    }
};

}  // namespace linkpeer

#endif
