##
## This file is part of daqgate.
##
## daqgate is free software: you can redistribute it and/or modify it under
## the terms of the GNU General Public License as published by the Free
## Software Foundation, either version 3 of the License, or (at your
## option) any later version.
##

'''
The handshake text link of daqgate's gateways: one line of text moved a
character at a time over a data port (bits 0-7 carry the byte) and two
flags, the sender's request and the receiver's acknowledge, in four
phases a character: request (sender bit up, the byte on the data lines),
take (receiver bit up), release (sender bit down), done (receiver bit
down).  A line ends with its line feed.

The decoder annotates each phase, each byte and each line, and flags a
phase out of order and a byte whose data lines changed while the sender's
request was up.  Its binary outputs are the bytes as received ('bytes')
and each line without its line feed ('lines').
'''

from .pd import Decoder
