// gateways.h - the entry points of the gateways as the unit tests see them:
// each gateway's mexFunction, compiled for the tests as gw_NAME.
#ifndef DAQGATE_TESTS_GATEWAYS_H
#define DAQGATE_TESTS_GATEWAYS_H

#include "mex.h"

#define DAQGATE_GATEWAY(name) \
  extern "C" void gw_##name(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);

DAQGATE_GATEWAY(cbReadPort)
DAQGATE_GATEWAY(cbWritePort)
DAQGATE_GATEWAY(cbSetPortDirection)
DAQGATE_GATEWAY(cbBoardLabel)
DAQGATE_GATEWAY(cbErrorText)
DAQGATE_GATEWAY(cbPushText)
DAQGATE_GATEWAY(QLPushText)
DAQGATE_GATEWAY(cbFetchText)
DAQGATE_GATEWAY(QLFetchText)
DAQGATE_GATEWAY(QLFetchTextD)
DAQGATE_GATEWAY(QLPullChars)
DAQGATE_GATEWAY(cbReadAnalog)
DAQGATE_GATEWAY(cbWriteAnalog)
DAQGATE_GATEWAY(cbSetGainQueue)
DAQGATE_GATEWAY(cbNewSampleBuffer)
DAQGATE_GATEWAY(cbReadAnalogScan)
DAQGATE_GATEWAY(cbReadAnalogBackgroundScan)
DAQGATE_GATEWAY(cbFetchBackgroundData)
DAQGATE_GATEWAY(cbQueryScanState)
DAQGATE_GATEWAY(cbHaltBackground)
DAQGATE_GATEWAY(mexsmoke)

#undef DAQGATE_GATEWAY

#endif
