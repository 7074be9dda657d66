// host.cpp - the test host's arrays and storage, and the mx operations.
// On Windows this is the stand-in libmx.dll; host_mex.cpp is libmex.dll.
#include "host.h"

#include <csignal>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>

#if defined(DAQGATE_OCTAVE_INTERRUPT)
#  include "quit.h"
#endif

namespace testhost {

int signals_handled = 0;
bool pending_interrupt = false;

#if defined(DAQGATE_OCTAVE_INTERRUPT)
void host_signal(bool interrupt)
{
    pending_interrupt |= interrupt;
    octave_signal_caught = 1;
}

void clear_signals()
{
    octave_signal_caught = 0;
    octave_interrupt_state = 0;
    pending_interrupt = false;
    signals_handled = 0;
}
#else
void host_signal(bool interrupt)
{
    pending_interrupt |= interrupt;
}

void clear_signals()
{
    pending_interrupt = false;
    signals_handled = 0;
}
#endif

// Until the test program puts its own (host_gtest.cpp): say what and stop.
void (*misuse)(const char *what) = [](const char *what) {
    std::fprintf(stderr, "test host: %s\n", what);
    std::abort();
};

namespace {

enum class Kind { Double, Char, Cell, Struct, Logical, Int32, Single };

struct Array {
    Kind kind = Kind::Double;
    bool complex = false;
    bool sparse = false;
    size_t m = 0, n = 0;
    std::vector<double> re;
    std::string chars;
};

// Every array lives until the end of the test program; what matters is
// who created it and whether it was stored.
std::vector<std::unique_ptr<Array>> arena;
std::set<const Array *> made_in_call;
bool in_call = false;
std::map<void *, size_t> blocks;  // mxMalloc storage still held
std::set<void *> host_texts;      // mxArrayToString copies, the host's
Result *current = nullptr;

// Entries the host puts behind each double array it makes for a gateway,
// so that a store past the array's elements is seen rather than lost in
// memory nobody reads.
constexpr size_t kDataGuards = 4;
constexpr uint64_t kDataGuardBits = 0x5a5a5a5a5a5a5a5aULL;

bool data_guards_intact(const Array *a)
{
    if (a->kind != Kind::Double || a->re.size() != a->m * a->n + kDataGuards)
        return true;
    for (size_t i = a->m * a->n; i < a->re.size(); ++i) {
        uint64_t bits = 0;
        std::memcpy(&bits, &a->re[i], sizeof bits);
        if (bits != kDataGuardBits)
            return false;
    }
    return true;
}

Array *make(Kind kind, size_t m, size_t n)
{
    arena.push_back(std::make_unique<Array>());
    Array *a = arena.back().get();
    a->kind = kind;
    a->m = m;
    a->n = n;
    if (kind == Kind::Double) {
        double guard = 0;
        std::memcpy(&guard, &kDataGuardBits, sizeof guard);
        a->re.assign(m * n, 0.0);
        a->re.insert(a->re.end(), kDataGuards, guard);
    }
    if (in_call)
        made_in_call.insert(a);
    return a;
}

// mxArray is opaque to the gateways, whatever the host's header makes it.
mxArray *mx(Array *a)
{
    return reinterpret_cast<mxArray *>(a);
}

const Array *as(const mxArray *array)
{
    return reinterpret_cast<const Array *>(array);
}

Array *scalar_of(Kind kind, double value)
{
    Array *a = make(kind, 1, 1);
    a->re.assign(1, value);
    return a;
}

void misuse_unless(bool ok, const char *what)
{
    if (!ok)
        misuse(what);
}

mxArray *const kGuard = reinterpret_cast<mxArray *>(0x5a5a5a5a);
constexpr int kGuards = 4;

}  // namespace

mxArray *num(double value)
{
    return mx(scalar_of(Kind::Double, value));
}
mxArray *logical(bool value)
{
    return mx(scalar_of(Kind::Logical, value));
}
mxArray *int32(int value)
{
    return mx(scalar_of(Kind::Int32, value));
}
mxArray *single(float value)
{
    return mx(scalar_of(Kind::Single, value));
}
mxArray *cell()
{
    return mx(make(Kind::Cell, 1, 1));
}
mxArray *structure()
{
    return mx(make(Kind::Struct, 1, 1));
}

mxArray *complex(double re)
{
    Array *a = make(Kind::Double, 1, 1);
    a->re.assign(1, re);
    a->complex = true;
    return mx(a);
}

mxArray *sparse_row(std::initializer_list<double> values)
{
    Array *a = make(Kind::Double, 1, values.size());
    a->sparse = true;
    a->re.clear();
    for (double v : values)
        if (v != 0)
            a->re.push_back(v);
    return mx(a);
}

mxArray *row(std::initializer_list<double> values)
{
    return matrix(1, static_cast<int>(values.size()), values);
}

mxArray *matrix(int rows, int cols, std::vector<double> values)
{
    Array *a = make(Kind::Double, rows, cols);
    a->re = std::move(values);
    a->re.resize(static_cast<size_t>(rows) * cols);
    return mx(a);
}

mxArray *str(const std::string &text)
{
    Array *a = make(Kind::Char, text.empty() ? 0 : 1, text.size());
    a->chars = text;
    return mx(a);
}

bool is_double(const mxArray *array)
{
    return as(array)->kind == Kind::Double;
}
int rows(const mxArray *array)
{
    return static_cast<int>(as(array)->m);
}
int cols(const mxArray *array)
{
    return static_cast<int>(as(array)->n);
}
double value(const mxArray *array, int index)
{
    const Array *a = as(array);
    if (index < 0 || static_cast<size_t>(index) >= a->m * a->n)
        throw std::out_of_range("an element past the array's");
    return a->re[index];
}
std::string text(const mxArray *array)
{
    return as(array)->chars;
}

void forget_arrays()
{
    arena.clear();
}

Result call(Entry *gateway, int nlhs, std::initializer_list<mxArray *> args)
{
    return call(gateway, nlhs, std::vector<mxArray *>(args));
}

Result call(Entry *gateway, int nlhs, const std::vector<mxArray *> &args)
{
    Result result;
    const int room = nlhs > 1 ? nlhs : 1;
    std::vector<mxArray *> plhs(room + kGuards, kGuard);
    for (int i = 0; i < room; ++i)
        plhs[i] = nullptr;
    std::vector<const mxArray *> prhs(args.begin(), args.end());

    current = &result;
    made_in_call.clear();
    blocks.clear();
    in_call = true;
    try {
        gateway(nlhs, plhs.data(), static_cast<int>(prhs.size()), prhs.data());
    } catch (const HostError &error) {
        result.raised = true;
        result.error = error.message;
    }
    in_call = false;
    current = nullptr;

    for (int i = room; i < room + kGuards; ++i)
        result.wrote_past_room |= plhs[i] != kGuard;
    for (const Array *made : made_in_call)
        result.wrote_past_data |= !data_guards_intact(made);
    result.outputs.assign(plhs.begin(), plhs.begin() + room);
    if (!result.raised) {
        // On an error the host reclaims what the call held; on a normal
        // return nothing may be left behind.
        for (const Array *made : made_in_call) {
            bool stored = false;
            for (mxArray *out : result.outputs)
                stored |= as(out) == made;
            result.unstored_arrays += stored ? 0 : 1;
        }
        result.held_blocks = static_cast<int>(blocks.size());
    }
    // Octave reclaims no text of mxArrayToString, on an error neither.
    result.held_texts = static_cast<int>(host_texts.size());
    for (auto &[block, size] : blocks)
        std::free(block);
    blocks.clear();
    for (void *copy : host_texts)
        std::free(copy);
    host_texts.clear();
    return result;
}

void raise_error(const char *message)
{
    throw HostError{message};
}

void print(const char *text)
{
    if (current != nullptr)
        current->printed += text;
}

}  // namespace testhost

using namespace testhost;

// The host operations, as the gateways declare them through mex.h.
extern "C" {

#if defined(DAQGATE_OCTAVE_INTERRUPT)
// Octave's interrupt marks (quit.h), for gateways built to look at them.
sig_atomic_t octave_interrupt_state = 0;
volatile sig_atomic_t octave_signal_caught = 0;

// As Octave does: a signal that came is known once handled, and only a
// Ctrl-C leaves an interrupt pending.
void octave_handle_signal()
{
    ++testhost::signals_handled;
    if (testhost::pending_interrupt) {
        testhost::pending_interrupt = false;
        octave_interrupt_state = 1;
    }
}
#endif

double mxGetScalar(const mxArray *array)
{
    const Array *a = as(array);
    misuse_unless(a->kind == Kind::Double, "mxGetScalar of a non-double argument");
    return a->m * a->n == 0 ? 0.0 : a->re[0];
}

double *mxGetPr(const mxArray *array)
{
    Array *a = const_cast<Array *>(as(array));
    misuse_unless(a->kind == Kind::Double && !a->sparse, "mxGetPr of a non-double or sparse argument");
    return a->kind == Kind::Double ? a->re.data() : nullptr;
}

size_t mxGetM(const mxArray *array)
{
    return as(array)->m;
}
size_t mxGetN(const mxArray *array)
{
    return as(array)->n;
}
size_t mxGetNumberOfElements(const mxArray *array)
{
    return as(array)->m * as(array)->n;
}
bool mxIsDouble(const mxArray *array)
{
    return as(array)->kind == Kind::Double;
}
bool mxIsComplex(const mxArray *array)
{
    return as(array)->complex;
}
bool mxIsSparse(const mxArray *array)
{
    return as(array)->sparse;
}

mxArray *mxCreateDoubleScalar(double value)
{
    Array *a = make(Kind::Double, 1, 1);
    a->re[0] = value;
    return mx(a);
}

mxArray *mxCreateDoubleMatrix(mwSize rows, mwSize cols, mxComplexity flag)
{
    misuse_unless(flag == mxREAL, "mxCreateDoubleMatrix of a complex matrix");
    return mx(make(Kind::Double, rows, cols));
}

mxArray *mxCreateString(const char *text)
{
    Array *a = make(Kind::Char, 1, std::strlen(text));
    a->chars = text;
    return mx(a);
}

char *mxArrayToString(const mxArray *array)
{
    const Array *a = as(array);
    if (a->kind != Kind::Char)
        return nullptr;
    char *copy = static_cast<char *>(std::malloc(a->chars.size() + 1));
    std::memcpy(copy, a->chars.c_str(), a->chars.size() + 1);
    host_texts.insert(copy);
    return copy;
}

void *mxMalloc(size_t size)
{
    void *block = std::malloc(size ? size : 1);
    blocks[block] = size;
    if (current != nullptr)
        current->mallocs.push_back(size);
    return block;
}

void *mxRealloc(void *block, size_t size)
{
    misuse_unless(block == nullptr || blocks.count(block), "mxRealloc of foreign storage");
    blocks.erase(block);
    void *moved = std::realloc(block, size ? size : 1);
    blocks[moved] = size;
    if (current != nullptr)
        current->reallocs.push_back(size);
    return moved;
}

void mxFree(void *block)
{
    if (host_texts.erase(block)) {  // the host's text goes back to it
        std::free(block);
        return;
    }
    misuse_unless(block == nullptr || blocks.count(block), "mxFree of foreign storage");
    blocks.erase(block);
    std::free(block);
}

}  // extern "C"
