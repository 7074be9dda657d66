// mexnull - a benchmark's yardstick, not a gateway.  It asks the host what
// every gateway must ask of each argument (whether it is a real double,
// then a number's value or a list's elements and length), converts
// nothing, and returns 0: what the host alone spends on a call with a
// gateway's arguments and one result.  A list (an argument of more than
// one element) also gets the temporary array every gateway that takes a
// list takes from the host's allocator, two bytes an entry, and gives it
// back.
//
// Built three times, one a kind of result, so that each gateway meets the
// host's cost of its own kind: mexnull returns a double scalar, mexnulltext
// a text of 58 characters (as long as cbErrorText(1)'s), mexnullmatrix a 1-by-1
// matrix made as mexsmoke makes it.
#include "mex.h"

void mexFunction(int, mxArray *plhs[], int nrhs, const mxArray *prhs[])
{
    for (int i = 0; i < nrhs; ++i) {
        if (!mxIsDouble(prhs[i]) || mxIsComplex(prhs[i]))
            continue;
        const size_t elements = mxGetNumberOfElements(prhs[i]);
        if (elements > 1) {
            mxGetPr(prhs[i]);
            mxGetN(prhs[i]);  // a list's length is its column count
            mxFree(mxMalloc(elements * sizeof(short)));
        } else {
            mxGetScalar(prhs[i]);
        }
    }
#if defined(YARDSTICK_TEXT)
    plhs[0] = mxCreateString("A yardstick's text of 58 characters, as long as the other.");
#elif defined(YARDSTICK_MATRIX)
    plhs[0] = mxCreateDoubleMatrix(1, 1, mxREAL);
    mxGetPr(plhs[0])[0] = 0;
#else
    plhs[0] = mxCreateDoubleScalar(0);
#endif
}
