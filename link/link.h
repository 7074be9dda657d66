// link.h - the handshake text link: one writer procedure (writer.h) and
// one reader procedure (reader.h), each parameterised by a member that
// stands in its gateway's own source.  The procedures are defined inline
// in their headers, so that a gateway is its own source and the frame,
// whatever builds it, and a reader links no operation only the writer
// calls.
//
// A line goes one character at a time over three digital ports: a data
// port and two flags, the sender bit (request) and the receiver bit
// (acknowledge), in four phases:
//
//   writer: waits R down, puts the byte on data, raises S, waits R up,
//           lowers S
//   reader: sees S up, reads data, raises R, waits S down, lowers R
//
// A line ends with a line feed, which goes through the handshake like any
// other byte.  Every wait polls without pause: a driver read, then (with a
// time limit) the clock, then the state.
#ifndef DAQGATE_LINK_H
#define DAQGATE_LINK_H

#include "frame.h"

namespace daqgate {

struct LinkPorts {
    int data;
    int sender;    // driven by the writer
    int receiver;  // driven by the reader
};

struct WriterMember {
    Gateway gateway;
    LinkPorts ports;
    bool clears_data;  // writes 0 to the data port after each character
};

enum class ReaderProgress {
    none,
    handshake,  // the five progress texts of each handshake
    per_char,   // "the value is {0}" after each stored character
};

struct ReaderMember {
    Gateway gateway;
    LinkPorts ports;
    ReaderProgress progress;
    // The result keeps the line feed that closed the line.
    bool keeps_line_feed;
};

// The usage texts that several members share: both writers give
// cbPushText's, the three QL readers QLFetchText's.  Each stays as scripts
// know it: "stringTowrite" and QLFetchText's two spaces after "Usage:".
constexpr const char *kPushTextUsage =
    "*** Usage: [numBytesWritten] = cbPushText(boardNum, stringTowrite, timeOut)";
constexpr const char *kQLFetchTextUsage =
    "*** Usage:  [stringVal] = QLFetchText(boardNum, timeOut, buffSize)";

extern const WriterMember cb_push_text;
extern const WriterMember ql_push_text;
extern const ReaderMember cb_fetch_text;
extern const ReaderMember ql_fetch_text;
extern const ReaderMember ql_fetch_text_d;
extern const ReaderMember ql_pull_chars;

}  // namespace daqgate

#endif
