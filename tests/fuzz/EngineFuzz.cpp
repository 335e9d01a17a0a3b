// Feeds the engine's entries raw 32-bit integers and raw 64-bit doubles: every bit pattern,
// NaN and infinities included. The sanitizers turn any out-of-bounds read or undefined
// behaviour into a crash; a hang shows as a libFuzzer timeout.
#include "TCalc.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    T_calc engine;
    int boxes = 0;
    engine.ShowMessageBox = [&](const std::string&, const std::string&) { ++boxes; };

    auto i32 = [&] { return in.ConsumeIntegral<int32_t>(); };
    auto f64 = [&] { return std::bit_cast<double>(in.ConsumeIntegral<uint64_t>()); };
    auto flag = [&] { return in.ConsumeBool(); };

    // Several calls on one engine, so that what one entry leaves behind meets the next.
    while (in.remaining_bytes() > 0) {
        double thickness = f64(), norm = f64();
        switch (in.ConsumeIntegralInRange(0, 6)) {
        case 0:
            engine.CalcByNormFlux(flag(), flag(), flag(), flag(), i32(), i32(), i32(), i32(), i32(),
                                  i32(), norm, thickness);
            break;
        case 1:
            engine.CalcBySurfaceTemp(flag(), flag(), flag(), i32(), i32(), i32(), i32(), i32(),
                                     thickness);
            break;
        case 2:
            engine.CalcAgainstCondensation(flag(), flag(), i32(), i32(), i32(), i32(), i32(),
                                           thickness);
            break;
        case 3:
            engine.CalcTwoPipeChannel(i32(), f64(), f64(), f64(), f64(), i32(), i32(), i32(),
                                      thickness);
            break;
        case 4:
            engine.CalcAgainstFreezing(i32(), f64(), i32(), i32(), i32(), i32(), i32(), thickness);
            break;
        case 5:
            engine.Reset();
            break;
        case 6:
            engine.UpTo5000Hours = flag();
            break;
        }
        const int32_t mm = engine.RoundThickness(thickness);
        if (mm % 10 != 0) std::abort(); // always whole steps of 10 mm
    }
    return 0;
}
