// rig_ports - nanoseconds per port operation on the simulated rig, as a
// gateway makes it: through the driver's C interface into shared memory.
#include <cstdlib>
#include <string>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include "cbw32.h"

namespace {

// The rig file of this run, removed when the run ends.
std::string rig_path;

void on_own_rig()
{
    static const bool once = [] {
        rig_path = "/tmp/daqgate-bench-rig-" + std::to_string(getpid());
        setenv("DAQGATE_RIG", rig_path.c_str(), 1);
        std::atexit([] { unlink(rig_path.c_str()); });
        cbSetPortDirection(0, 10, 1);
        return true;
    }();
    (void)once;
}

void BM_ReadWiredInput(benchmark::State &state)
{
    on_own_rig();
    unsigned short value = 0;
    for (auto _ : state) {
        cbReadPort(1, 10, &value);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_ReadWiredInput);

void BM_WriteOutput(benchmark::State &state)
{
    on_own_rig();
    unsigned short value = 0;
    for (auto _ : state)
        cbWritePort(0, 10, ++value);
}
BENCHMARK(BM_WriteOutput);

// The driver's conversion of one count, which a gateway asks once per
// distinct count of a call's samples.
void BM_ToEngUnits(benchmark::State &state)
{
    on_own_rig();
    unsigned short count = 0;
    float volts = 0;
    for (auto _ : state) {
        cbToEngUnits(0, 0, ++count, &volts);
        benchmark::DoNotOptimize(volts);
    }
}
BENCHMARK(BM_ToEngUnits);

}  // namespace
