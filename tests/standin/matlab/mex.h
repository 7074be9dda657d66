/*
 * mex.h - the host operations as a MEX file built by MATLAB's own mex
 * reaches them, for the MATLAB-shaped Windows builds of this project
 * (DAQGATE_MATLAB_API, docs/windows.md).
 *
 * MATLAB's libmx.dll and libmex.dll export each operation under the name
 * of the API a module is built for; a module imports those names, never
 * the unversioned entries (libmx's unversioned mxCreateDoubleMatrix takes
 * 32-bit sizes).  This header maps every operation the gateways use to the
 * name of the API given by DAQGATE_MATLAB_API, the API's number:
 *
 *   0x07300000  the R2017b API: mxCreateDoubleMatrix_730, the others
 *               unversioned;
 *   0x08000000  the R2018a API: every name with the suffix _800.
 *
 * Sizes are size_t in both.  The stand-in host (libmx.dll, libmex.dll made
 * from the unit tests' host) is compiled against this header too, so it
 * exports the API's names and no others.  A MATLAB user builds with
 * MATLAB's own mex.h (scripts/build_toolbox.m).
 */
#ifndef DAQGATE_STANDIN_MATLAB_MEX_H
#define DAQGATE_STANDIN_MATLAB_MEX_H

#include <stddef.h>

#if !defined(DAQGATE_MATLAB_API)
#  error "DAQGATE_MATLAB_API names the API: 0x07300000 (R2017b) or 0x08000000 (R2018a)"
#elif DAQGATE_MATLAB_API == 0x07300000
#  define mxCreateDoubleMatrix mxCreateDoubleMatrix_730
#elif DAQGATE_MATLAB_API == 0x08000000
#  define mexErrMsgTxt mexErrMsgTxt_800
#  define mexPrintf mexPrintf_800
#  define mxArrayToString mxArrayToString_800
#  define mxCreateDoubleMatrix mxCreateDoubleMatrix_800
#  define mxCreateDoubleScalar mxCreateDoubleScalar_800
#  define mxCreateString mxCreateString_800
#  define mxFree mxFree_800
#  define mxGetM mxGetM_800
#  define mxGetN mxGetN_800
#  define mxGetNumberOfElements mxGetNumberOfElements_800
#  define mxGetPr mxGetPr_800
#  define mxGetScalar mxGetScalar_800
#  define mxIsComplex mxIsComplex_800
#  define mxIsDouble mxIsDouble_800
#  define mxIsSparse mxIsSparse_800
#  define mxMalloc mxMalloc_800
#  define mxRealloc mxRealloc_800
#else
#  error "DAQGATE_MATLAB_API: not an API this header knows"
#endif

/* The operations as the stand-in host declares them, under the names
 * mapped above. */
#include "../mex.h"

#ifdef __cplusplus
extern "C" {
#endif

/* What the module asks of the host before the host calls it: the release
 * that built it and the API it was built for (mexapi_version.cpp). */
void mexfilerequiredapiversion(unsigned int *built_by_rel, unsigned int *target_api_ver);

#ifdef __cplusplus
}
#endif

#endif
