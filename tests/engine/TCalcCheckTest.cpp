// The checks at an installed thickness against the methods they invert: over random valid
// inputs of every kind (fixed seed), the check at the method's own thickness gives back the
// method's target, and the search for the thickness that meets a requirement finds the
// first step that does.
#include "TCalc.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

constexpr int Cases = 400;

class Random {
public:
    explicit Random(uint32_t seed)
        : engine_(seed) {}
    // Whole numbers low..high; the modulo bias is of no concern for picking test inputs.
    int32_t Whole(int32_t low, int32_t high) {
        return low + int32_t(engine_() % uint32_t(high - low + 1));
    }
    double Real(double low, double high) { return low + (high - low) * (engine_() / 4294967296.0); }
    bool Flag() { return engine_() % 2 == 0; }

private:
    std::mt19937 engine_;
};

// One successful calculation of a kind on a fresh engine.
struct Solved {
    T_calc engine;
    double thickness = 0;
};

// Runs `entry` on random inputs until it succeeds; the statuses in `success` count.
template <class Entry>
Solved SolveUntilSuccess(Entry entry, std::initializer_list<int32_t> success) {
    for (;;) {
        Solved s;
        const int32_t status = entry(s.engine, s.thickness);
        for (int32_t ok : success)
            if (status == ok && std::isfinite(s.thickness)) return s;
    }
}

double RelativeGap(double a, double b) {
    return std::abs(a - b) / std::max(std::abs(b), 1e-300);
}

// The cylinder solver stops when its bracket is 0.0001 wide and returns the middle, so its
// diameter ratio lies within 0.00005 of the root: the layer within 0.000025 * d.
double RatioTolerance(const T_calc& c) {
    return 0.000025 * 0.001 * T_calc::OuterDiametersMm()[size_t(c.DiameterIndex)];
}

bool Between(double x, double a, double b) {
    const double slack = 1e-9 * std::max(std::abs(a), std::abs(b));
    return x >= std::min(a, b) - slack && x <= std::max(a, b) + slack;
}

TEST(TCalcCheck, NormFluxGivesBackTheRegionalNorm) {
    Random r(1);
    for (int i = 0; i < Cases; ++i) {
        Solved s = SolveUntilSuccess(
            [&](T_calc& c, double& x) {
                double norm = 0;
                return c.CalcByNormFlux(r.Flag(), r.Flag(), r.Flag(), r.Flag(), r.Whole(-50, 40),
                                        r.Whole(-180, 600), r.Whole(0, 21), r.Whole(0, 5),
                                        r.Whole(0, 1), r.Whole(0, 6), norm, x);
            },
            {0, 6});
        const auto check = s.engine.CheckNormFlux(s.thickness);
        SCOPED_TRACE("case " + std::to_string(i) + " carrier " +
                     std::to_string(s.engine.CarrierTemp) + " thickness " +
                     std::to_string(s.thickness));
        EXPECT_NEAR(RelativeGap(check.flux, s.engine.RegionCoef * s.engine.NormFlux), 0, 1e-9);
        EXPECT_EQ(check.allowedFlux, s.engine.RegionCoef * s.engine.NormFlux);
        // The surface lies between the carrier and the air.
        EXPECT_TRUE(Between(check.surfaceTemp, s.engine.CarrierTemp, s.engine.AirTemp));
    }
}

TEST(TCalcCheck, FreezingGivesBackTheStandstill) {
    Random r(2);
    for (int i = 0; i < Cases; ++i) {
        Solved s = SolveUntilSuccess(
            [&](T_calc& c, double& x) {
                return c.CalcAgainstFreezing(r.Whole(-60, -1), r.Whole(1, 8), r.Whole(1, 200),
                                             r.Whole(1, 90), r.Whole(0, 21), r.Whole(0, 6),
                                             r.Whole(0, 6), x);
            },
            {0, 5});
        const auto check = s.engine.CheckFreezing(s.thickness);
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_NEAR(RelativeGap(check.hours, s.engine.StandstillHours), 0, 1e-9);
    }
}

// The surface temperature at the ends of the solver's tolerance brackets the given one (or
// the dew point): the check is exact, the method's layer is as close as its solver goes.
TEST(TCalcCheck, SurfaceTemperatureWithinTheSolversTolerance) {
    Random r(3);
    for (int i = 0; i < Cases; ++i) {
        Solved s = SolveUntilSuccess(
            [&](T_calc& c, double& x) {
                return c.CalcBySurfaceTemp(r.Flag(), r.Flag(), r.Flag(), r.Whole(-40, 40),
                                           r.Whole(-180, 600), r.Whole(-60, 80), r.Whole(0, 21),
                                           r.Whole(0, 6), x);
            },
            {0});
        const T_calc& c = s.engine;
        SCOPED_TRACE("case " + std::to_string(i));
        const double given = c.SurfaceTemp;
        if (!c.IsPipe) {
            EXPECT_NEAR(c.CheckSurfaceTemp(s.thickness).surfaceTemp, given,
                        1e-9 * std::max(1.0, std::abs(given)));
            continue;
        }
        const double h = RatioTolerance(c);
        EXPECT_TRUE(Between(given, c.CheckSurfaceTemp(s.thickness - h).surfaceTemp,
                            c.CheckSurfaceTemp(s.thickness + h).surfaceTemp))
            << c.CheckSurfaceTemp(s.thickness).surfaceTemp << " against " << given;
    }
}

TEST(TCalcCheck, CondensationWithinTheSolversTolerance) {
    Random r(4);
    int pipes = 0;
    for (int i = 0; i < Cases; ++i) {
        Solved s = SolveUntilSuccess(
            [&](T_calc& c, double& x) {
                return c.CalcAgainstCondensation(r.Flag(), r.Flag(), r.Whole(-40, 50),
                                                 r.Whole(-180, 40), r.Whole(1, 99), r.Whole(0, 21),
                                                 r.Whole(0, 6), x);
            },
            {0});
        const T_calc& c = s.engine;
        SCOPED_TRACE("case " + std::to_string(i));
        const double dew = c.CheckCondensation(s.thickness).dewPoint;
        if (s.thickness == 0) { // the dew point lies below the carrier: bare is dry
            EXPECT_TRUE(c.CheckCondensation(0).Met());
            continue;
        }
        if (!c.IsPipe) {
            EXPECT_NEAR(c.CheckCondensation(s.thickness).surfaceTemp, dew, 1e-9 * 100);
            continue;
        }
        ++pipes;
        const double h = RatioTolerance(c);
        EXPECT_TRUE(Between(dew, c.CheckCondensation(s.thickness - h).surfaceTemp,
                            c.CheckCondensation(s.thickness + h).surfaceTemp));
    }
    EXPECT_GT(pipes, Cases / 4);
}

// The channel's correction ends within its last step (0.00015625 m) of the root where its
// seven steps reach it; elsewhere the check shows the miss, in either direction, rather
// than the norm.
TEST(TCalcCheck, ChannelWithinTheLastCorrectionStepOrTheMissShows) {
    constexpr double LastStep = 0.01 / 64;
    Random r(5);
    int reached = 0, short_ = 0, over = 0;
    for (int i = 0; i < Cases; ++i) {
        Solved s = SolveUntilSuccess(
            [&](T_calc& c, double& x) {
                c.UpTo5000Hours = r.Flag();
                return c.CalcTwoPipeChannel(r.Whole(0, 2), r.Real(0.4, 3), r.Real(0.6, 4),
                                            r.Real(0.5, 3), r.Real(1, 5), r.Whole(-10, 20),
                                            r.Whole(0, 21), r.Whole(0, 6), x);
            },
            {0});
        const T_calc& c = s.engine;
        if (s.thickness <= 0) continue;
        SCOPED_TRACE("case " + std::to_string(i));
        // The root of the method's own loss function, by bisection: the loss falls as the
        // layer grows.
        const double norm = c.CheckTwoPipeChannel(0).normLoss;
        double low = 0, high = 10;
        for (int k = 0; k < 200; ++k) {
            const double middle = (low + high) / 2;
            (c.CheckTwoPipeChannel(middle).pairLoss > norm ? low : high) = middle;
        }
        const double root = (low + high) / 2;
        const auto check = c.CheckTwoPipeChannel(s.thickness);
        if (std::abs(s.thickness - root) <= LastStep + 1e-12) {
            ++reached;
            EXPECT_TRUE(Between(norm, c.CheckTwoPipeChannel(s.thickness - LastStep).pairLoss,
                                c.CheckTwoPipeChannel(s.thickness + LastStep).pairLoss));
        } else if (s.thickness < root) {
            ++short_;
            EXPECT_GT(check.pairLoss, norm);
            EXPECT_FALSE(check.Met());
        } else {
            ++over;
            EXPECT_LT(check.pairLoss, norm);
            EXPECT_TRUE(check.Met());
        }
        // The pipes' shares add up to the pair, and the air lies between the ground and the supply.
        EXPECT_NEAR(RelativeGap(check.supplyLoss + check.returnLoss, check.pairLoss), 0, 1e-9);
        EXPECT_TRUE(Between(check.channelAir, c.GroundTemp, c.SupplyTemp));
    }
    EXPECT_GT(reached, Cases / 3);
    EXPECT_GT(short_ + over, 0);
}

// Two worked channel examples of the method's documentation end short of the root.
TEST(TCalcCheck, ChannelExamplesThatTheCorrectionCannotReach) {
    struct Example {
        int32_t supply;
        double height, width, soilLambda, depth;
        int32_t diameter, material;
        double share; // the pair's loss at the method's thickness, part of the norm
    };
    for (const Example& e : {Example{2, 1.5, 2.0, 1.5, 3.0, 15, 0, 0.94},
                             Example{0, 1.0, 1.0, 2.0, 2.0, 0, 4, 0.82}}) {
        T_calc c;
        double x = 0;
        ASSERT_EQ(c.CalcTwoPipeChannel(e.supply, e.height, e.width, e.soilLambda, e.depth, 5,
                                       e.diameter, e.material, x),
                  0);
        const auto check = c.CheckTwoPipeChannel(x);
        EXPECT_NEAR(check.pairLoss / check.normLoss, e.share, 0.005);
        EXPECT_TRUE(check.Met());
    }
}

TEST(TCalcCheck, SmallestMeetingThicknessFindsTheFirstStepThatMeets) {
    struct Case {
        int32_t from, needed, largest;
        std::optional<int32_t> found;
    };
    const Case cases[] = {
        {0, 1, 2'000'000'000, 10},
        {40, 41, 2'000'000'000, 50},
        {40, 50, 2'000'000'000, 50},
        {40, 51, 2'000'000'000, 60},
        {0, 12'345, 2'000'000'000, 12'350},
        {0, 1'999'999'991, 2'000'000'000, 2'000'000'000},
        {0, 2'000'000'001, 2'000'000'000, std::nullopt},
        {100, 5, 100, std::nullopt},
    };
    for (const Case& k : cases) {
        int calls = 0;
        const auto found = T_calc::SmallestMeetingThickness(k.from, k.largest, [&](int32_t mm) {
            ++calls;
            EXPECT_EQ(mm % 10, 0);
            return mm >= k.needed;
        });
        EXPECT_EQ(found, k.found) << "needed " << k.needed;
        EXPECT_LE(calls, 64); // doubling then halving, not step by step
    }
}

// At the accepted product thickness, for every kind: rounded up from a thickness that
// reached its target, the requirement holds; short of it, the next thickness that meets it
// does and the step below does not.
TEST(TCalcCheck, NextThicknessMeetsAndTheStepBelowDoesNot) {
    Random r(6);
    struct Kind {
        const char* name;
        std::function<int32_t(T_calc&, double&)> entry;
        std::function<bool(const T_calc&, double)> met;
    };
    const Kind kinds[] = {
        {"norm flux",
         [&](T_calc& c, double& x) {
             double norm = 0;
             return c.CalcByNormFlux(r.Flag(), r.Flag(), r.Flag(), r.Flag(), r.Whole(-50, 40),
                                     r.Whole(-180, 600), r.Whole(0, 21), r.Whole(0, 5),
                                     r.Whole(0, 1), r.Whole(0, 6), norm, x);
         },
         [](const T_calc& c, double x) { return c.CheckNormFlux(x).Met(); }},
        {"surface",
         [&](T_calc& c, double& x) {
             return c.CalcBySurfaceTemp(r.Flag(), r.Flag(), r.Flag(), r.Whole(-40, 40),
                                        r.Whole(-180, 600), r.Whole(-60, 80), r.Whole(0, 21),
                                        r.Whole(0, 6), x);
         },
         [](const T_calc& c, double x) { return c.CheckSurfaceTemp(x).Met(); }},
        {"condensation",
         [&](T_calc& c, double& x) {
             return c.CalcAgainstCondensation(r.Flag(), r.Flag(), r.Whole(-40, 50),
                                              r.Whole(-180, 40), r.Whole(1, 99), r.Whole(0, 21),
                                              r.Whole(0, 6), x);
         },
         [](const T_calc& c, double x) { return c.CheckCondensation(x).Met(); }},
        {"channel",
         [&](T_calc& c, double& x) {
             return c.CalcTwoPipeChannel(r.Whole(0, 2), r.Real(0.4, 3), r.Real(0.6, 4),
                                         r.Real(0.5, 3), r.Real(1, 5), r.Whole(-10, 20),
                                         r.Whole(0, 21), r.Whole(0, 6), x);
         },
         [](const T_calc& c, double x) { return c.CheckTwoPipeChannel(x).Met(); }},
        {"freezing",
         [&](T_calc& c, double& x) {
             return c.CalcAgainstFreezing(r.Whole(-60, -1), r.Whole(1, 8), r.Whole(1, 200),
                                          r.Whole(1, 90), r.Whole(0, 21), r.Whole(0, 6),
                                          r.Whole(0, 6), x);
         },
         [](const T_calc& c, double x) { return c.CheckFreezing(x).Met(); }},
    };
    for (const Kind& kind : kinds) {
        int shortfalls = 0, roundedUp = 0;
        for (int i = 0; i < Cases / 2; ++i) {
            Solved s = SolveUntilSuccess(kind.entry, {0});
            const T_calc& c = s.engine;
            auto meets = [&](int32_t mm) { return kind.met(c, c.InstalledThickness(mm)); };
            const int32_t accepted = std::max(c.RoundThickness(s.thickness), 0);
            SCOPED_TRACE(std::string(kind.name) + " case " + std::to_string(i) + " accepted " +
                         std::to_string(accepted));
            // Rounded up from a thickness that reached its target: the requirement holds.
            const double tolerance = RatioTolerance(c);
            if (c.InstalledThickness(accepted) >= s.thickness + tolerance &&
                kind.met(c, s.thickness + tolerance)) {
                ++roundedUp;
                EXPECT_TRUE(meets(accepted));
            }
            if (meets(accepted)) continue;
            ++shortfalls;
            const auto next = T_calc::SmallestMeetingThickness(accepted, 2'000'000'000, meets);
            ASSERT_TRUE(next.has_value());
            EXPECT_TRUE(meets(*next));
            EXPECT_FALSE(meets(*next - 10));
        }
        EXPECT_GT(shortfalls, 0) << kind.name;
        EXPECT_GT(roundedUp, 0) << kind.name;
    }
}

TEST(TCalcCheck, InstalledThicknessUndoesTheSettlingOfStitchedMats) {
    T_calc c;
    c.MaterialIndex = 0; // a stitched mat: 60 mm of product settle to 50 mm
    EXPECT_DOUBLE_EQ(c.InstalledThickness(60), 0.05);
    EXPECT_EQ(c.RoundThickness(c.InstalledThickness(60)), 60);
    c.MaterialIndex = 4; // a cylinder keeps its thickness
    EXPECT_DOUBLE_EQ(c.InstalledThickness(60), 0.06);
}

} // namespace
