/*
 * mex.h - the host operations as the stand-in host declares them.
 *
 * The Windows builds of this project have no MATLAB to link: they link the
 * stand-ins libmx.dll and libmex.dll, made from the unit tests' host, with
 * the same names and exports as the host's own libraries for the
 * operations the gateways use.  This header declares those operations as
 * a modern MEX header does (mxArray opaque, sizes as size_t); it proves the
 * DLL plumbing, not MATLAB's headers.  A MATLAB user builds with MATLAB's
 * own mex.h (scripts/build_toolbox.m).
 */
#ifndef DAQGATE_STANDIN_MEX_H
#define DAQGATE_STANDIN_MEX_H

#include <stddef.h>

#if defined(_WIN32) && defined(DAQGATE_BUILDING_LIBMX)
#  define DAQGATE_MX_API __declspec(dllexport)
#else
#  define DAQGATE_MX_API
#endif
#if defined(_WIN32) && defined(DAQGATE_BUILDING_LIBMEX)
#  define DAQGATE_MEX_API __declspec(dllexport)
#else
#  define DAQGATE_MEX_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct mxArray_tag mxArray;
typedef size_t mwSize;
typedef enum { mxREAL, mxCOMPLEX } mxComplexity;

/* libmex */
DAQGATE_MEX_API void mexErrMsgTxt(const char *message);
DAQGATE_MEX_API int mexPrintf(const char *format, ...);

/* libmx */
DAQGATE_MX_API double mxGetScalar(const mxArray *array);
DAQGATE_MX_API double *mxGetPr(const mxArray *array);
DAQGATE_MX_API size_t mxGetM(const mxArray *array);
DAQGATE_MX_API size_t mxGetN(const mxArray *array);
DAQGATE_MX_API size_t mxGetNumberOfElements(const mxArray *array);
DAQGATE_MX_API bool mxIsDouble(const mxArray *array);
DAQGATE_MX_API bool mxIsComplex(const mxArray *array);
DAQGATE_MX_API bool mxIsSparse(const mxArray *array);
DAQGATE_MX_API mxArray *mxCreateDoubleScalar(double value);
DAQGATE_MX_API mxArray *mxCreateDoubleMatrix(mwSize m, mwSize n, mxComplexity complexity);
DAQGATE_MX_API mxArray *mxCreateString(const char *text);
DAQGATE_MX_API char *mxArrayToString(const mxArray *array);
DAQGATE_MX_API void *mxMalloc(mwSize bytes);
DAQGATE_MX_API void *mxRealloc(void *block, mwSize bytes);
DAQGATE_MX_API void mxFree(void *block);

/* The gateway's entry point, which the host calls. */
void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]);

#ifdef __cplusplus
}
#endif

#endif
