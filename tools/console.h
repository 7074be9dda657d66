// console.h - simboard's text on a console.
#ifndef DAQGATE_TOOLS_CONSOLE_H
#define DAQGATE_TOOLS_CONSOLE_H

namespace daqgate::tools {

// Makes the console, where there is one, show the UTF-8 text the program
// prints to stdout and stderr, until the program ends.  A terminal
// elsewhere shows the bytes a program prints in its own encoding: there
// is nothing to do.
#if defined(_WIN32)
void utf8_console();
#else
inline void utf8_console() {}
#endif

}  // namespace daqgate::tools

#endif
