// gateways.h - the entry points of the gateways as the unit tests see them:
// each gateway's mexFunction, compiled for the tests as gw_NAME.
#ifndef DAQGATE_TESTS_GATEWAYS_H
#define DAQGATE_TESTS_GATEWAYS_H

#include "mex.h"

// gateways.inc, made by CMake from the list of gateways (gateways.list),
// holds DAQGATE_GATEWAY(name) for each.
#define DAQGATE_GATEWAY(name) \
  extern "C" void gw_##name(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);
#include "gateways.inc"
#undef DAQGATE_GATEWAY

#endif
