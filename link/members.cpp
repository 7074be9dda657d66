// members.cpp - the six text link gateways: port codes, usage texts and
// what sets each apart.
#include "link.h"

namespace daqgate {

namespace {
constexpr const char *kWriterUsage =
    "*** Usage: [numBytesWritten] = cbPushText(boardNum, stringTowrite, timeOut)";
constexpr const char *kQLReaderUsage = "*** Usage:  [stringVal] = QLFetchText(boardNum, timeOut, buffSize)";
}  // namespace

const WriterMember cb_push_text{{"cbPushText", 3, kWriterUsage}, {10, 11, 14}, false};
const WriterMember ql_push_text{{"QLPushText", 3, kWriterUsage}, {10, 11, 14}, true};

const ReaderMember cb_fetch_text{
    {"cbFetchText", 3, "*** Usage:  [stringVal] = cbFetchText(boardNum, timeOut, buffSize)"},
    {10, 11, 14},
    ReaderProgress::none,
    false};
const ReaderMember ql_fetch_text{
    {"QLFetchText", 3, kQLReaderUsage}, {15, 16, 12}, ReaderProgress::none, false};
const ReaderMember ql_fetch_text_d{
    {"QLFetchTextD", 3, kQLReaderUsage}, {14, 15, 10}, ReaderProgress::handshake, false};
const ReaderMember ql_pull_chars{
    {"QLPullChars", 3, kQLReaderUsage}, {15, 16, 12}, ReaderProgress::per_char, true};

}  // namespace daqgate
