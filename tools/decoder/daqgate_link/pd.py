##
## This file is part of daqgate.
##
## daqgate is free software: you can redistribute it and/or modify it under
## the terms of the GNU General Public License as published by the Free
## Software Foundation, either version 3 of the License, or (at your
## option) any later version.
##

import sigrokdecode as srd

SENDER, RECEIVER = 8, 9
A_REQUEST, A_TAKE, A_RELEASE, A_DONE, A_BYTE, A_LINE, A_WARNING = range(7)
B_BYTES, B_LINES = range(2)

# The phase that each state of the flags (sender, receiver) waits for, and
# the state it leads to.
NEXT = {
    (0, 0): (A_REQUEST, (1, 0)),
    (1, 0): (A_TAKE, (1, 1)),
    (1, 1): (A_RELEASE, (0, 1)),
    (0, 1): (A_DONE, (0, 0)),
}
PHASES = {
    A_REQUEST: ['Request: sender bit up', 'Request', 'Req', 'Q'],
    A_TAKE: ['Take: receiver bit up', 'Take', 'Tk', 'T'],
    A_RELEASE: ['Release: sender bit down', 'Release', 'Rel', 'R'],
    A_DONE: ['Done: receiver bit down', 'Done', 'Dn', 'D'],
}


def shown(byte):
    '''A byte as a line's text shows it: printable ASCII as it is, the
    backslash doubled, anything else as \\xHH.'''
    if byte == 0x5c:
        return '\\\\'
    if 0x20 <= byte < 0x7f:
        return chr(byte)
    return '\\x%02x' % byte


class Decoder(srd.Decoder):
    api_version = 3
    id = 'daqgate_link'
    name = 'daqgate link'
    longname = 'daqgate handshake text link'
    desc = 'A line of text a byte at a time, in a four-phase handshake.'
    license = 'gplv3+'
    inputs = ['logic']
    outputs = []
    tags = ['Embedded/industrial']
    channels = tuple(
        {'id': 'd%d' % i, 'name': 'D%d' % i, 'desc': 'Data line %d' % i}
        for i in range(8)
    ) + (
        {'id': 'sender', 'name': 'Sender', 'desc': "Sender bit: the writer's request"},
        {'id': 'receiver', 'name': 'Receiver', 'desc': "Receiver bit: the reader's acknowledge"},
    )
    annotations = (
        ('request', 'Request'),
        ('take', 'Take'),
        ('release', 'Release'),
        ('done', 'Done'),
        ('byte', 'Byte'),
        ('line', 'Line'),
        ('warning', 'Warning'),
    )
    annotation_rows = (
        ('phases', 'Phases', (A_REQUEST, A_TAKE, A_RELEASE, A_DONE)),
        ('bytes', 'Bytes', (A_BYTE,)),
        ('lines', 'Lines', (A_LINE,)),
        ('warnings', 'Warnings', (A_WARNING,)),
    )
    binary = (
        ('bytes', 'Every byte as received'),
        ('lines', 'Each line, without its line feed'),
    )

    def __init__(self):
        self.reset()

    def reset(self):
        self.line = bytearray()
        self.line_start = None
        self.byte = None
        self.byte_start = None
        self.moved = False

    def start(self):
        self.out_ann = self.register(srd.OUTPUT_ANN)
        self.out_binary = self.register(srd.OUTPUT_BINARY)

    def ann(self, ss, es, cls, texts):
        self.put(ss, es, self.out_ann, [cls, texts])

    def warn(self, ss, es, text, short):
        self.ann(ss, es, A_WARNING, [text, short, '!'])

    def data(self, pins):
        return sum(pins[i] << i for i in range(8))

    def finish_byte(self, es):
        byte = self.byte
        texts = ['0x%02x %s' % (byte, shown(byte)), '0x%02x' % byte, shown(byte)]
        self.ann(self.byte_start, es, A_BYTE, texts)
        self.put(self.byte_start, es, self.out_binary, [B_BYTES, bytes([byte])])
        if self.line_start is None:
            self.line_start = self.byte_start
        if byte == 10:
            text = ''.join(shown(b) for b in self.line)
            self.ann(self.line_start, es, A_LINE, ['Line: ' + text, text])
            self.put(self.line_start, es, self.out_binary, [B_LINES, bytes(self.line)])
            self.line = bytearray()
            self.line_start = None
        else:
            self.line.append(byte)
        self.byte = None

    def decode(self):
        pins = self.wait()
        flags = (pins[SENDER], pins[RECEIVER])
        phase_start, phase = None, None
        # The flags' edges, and the data lines' while a request is up.
        conditions = [{SENDER: 'e'}, {RECEIVER: 'e'}] + [{i: 'e'} for i in range(8)]
        while True:
            pins = self.wait(conditions)
            now = self.samplenum
            state = (pins[SENDER], pins[RECEIVER])
            if state == flags:
                # The data lines alone moved.
                if flags[0] == 1 and self.byte is not None and not self.moved:
                    self.moved = True
                    self.warn(self.byte_start, now, 'Data changed while the request was up',
                              'Data moved')
                continue
            # A phase lasts until the next one begins.
            if phase is not None:
                self.ann(phase_start, now, phase, PHASES[phase])
            first, between = NEXT[flags]
            second, beyond = NEXT[between]
            if state == between:
                steps = [first]
            elif state == beyond:
                # Two phases within one sample (a writer that answers at
                # once): the protocol allows them in one order only.
                steps = [first, second]
                self.ann(now, now, first, PHASES[first])
            else:
                # A phase out of order: the byte in progress is dropped,
                # and decoding goes on from here.
                self.warn(now, now, 'Phase out of order: flags %d%d after %d%d' % (state + flags),
                          'Out of order')
                self.byte = None
                flags, phase = state, None
                continue
            for step in steps:
                if step == A_REQUEST:
                    self.byte = self.data(pins)
                    self.byte_start = now
                    self.moved = False
                elif step == A_DONE and self.byte is not None:
                    self.finish_byte(now)
            phase, phase_start = steps[-1], now
            flags = state
