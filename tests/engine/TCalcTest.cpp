// The engine against the worked examples of its documentation, its status order and the
// decisions taken where the documentation leaves a choice.
#include "TCalc.h"
#include "TCalcTables.h"

#include <array>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int32_t Pipe108 = 7;
constexpr int32_t Cylinder80 = 4; // material index of "Цилиндр ЗОРБАЛИТ - 80"

// A printed figure such as 0.049866 holds to its last digit.
double Unit(const char* printed) {
    const std::string s = printed;
    const auto dot = s.find('.');
    const int decimals = dot == std::string::npos ? 0 : int(s.size() - dot - 1);
    return std::pow(10.0, -decimals);
}
#define EXPECT_PRINTED(actual, printed) EXPECT_NEAR(actual, std::stod(printed), Unit(printed))

TEST(TCalcState, ConstructorAndResetStoreTheDefaultsAndKeepTheRest) {
    T_calc c;
    double flux = 0, x = 0;
    c.CalcBySurfaceTemp(true, false, false, 20, 150, 45, Pipe108, Cylinder80, x);
    c.CalcTwoPipeChannel(2, 1, 1, 2, 2, 5, Pipe108, 1, x);
    c.CalcAgainstFreezing(-40, 5, 24, 18, Pipe108, 6, 3, x);
    c.CalcByNormFlux(false, false, true, true, 5, 150, 3, 3, 1, 2, flux, x);
    const double kept[] = {c.RootTarget, c.Thickness, c.RegionCoef, c.OuterCoef, c.UpperLimit};
    c.Reset();

    for (const T_calc& e : {T_calc(), c}) {
        EXPECT_EQ(e.Lambda, 0.055);
        EXPECT_EQ(e.NormFlux, 0);
        EXPECT_TRUE(e.UpTo5000Hours);
        EXPECT_EQ(e.GroundTemp, 0);
        EXPECT_EQ(e.GroundLambda, 0);
        EXPECT_EQ(e.ChannelDepth, 0);
        EXPECT_EQ(e.ChannelHeight, 0);
        EXPECT_EQ(e.ChannelWidth, 0);
        EXPECT_EQ(e.SupplyTemp, 65);
        EXPECT_EQ(e.ReturnTemp, 50);
        EXPECT_EQ(e.LowerLimit, -180);
        EXPECT_EQ(e.LossCoef, 1.2);
        EXPECT_EQ(e.MaterialIndex, 0);
        EXPECT_EQ(e.WaterTemp, 0);
        EXPECT_EQ(e.StandstillHours, 0);
        EXPECT_EQ(e.WallThickness, 0);
        EXPECT_TRUE(e.IsPipe);
        EXPECT_FALSE(e.Indoors);
        EXPECT_FALSE(e.NonMetalCover);
        EXPECT_EQ(e.AirTemp, 0);
        EXPECT_EQ(e.CarrierTemp, 0);
        EXPECT_EQ(e.DiameterIndex, 0);
        EXPECT_EQ(e.Humidity, 55);
        EXPECT_EQ(e.SurfaceTemp, 0);
    }
    EXPECT_EQ(c.SolverKind, 4);
    const double after[] = {c.RootTarget, c.Thickness, c.RegionCoef, c.OuterCoef, c.UpperLimit};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(after[i], kept[i]) << i;
}

// ---- Shared formulas ---------------------------------------------------------------------

TEST(TCalcFormulas, ConductivityFollowsTheMaterialLawAndSetsItsLimit) {
    struct Case {
        int32_t material;
        double t, lambda, upper;
    } cases[] = {
        {0, 100, 0.046, 750},  {6, 100, 0.057, 250},    {2, 100, 0.046, 700},
        {2, -150, 0.046, 700}, {4, 97, 0.0443836, 650}, {5, 97, 0.0443836, 650},
        {1, 0, 0.034, 750},    {3, 100, 0.045, 700},
    };
    for (const Case& k : cases) {
        T_calc c;
        c.MaterialIndex = k.material;
        EXPECT_NEAR(c.Conductivity(k.t), k.lambda, 1e-12) << k.material << " at " << k.t;
        EXPECT_EQ(c.UpperLimit, k.upper);
    }
}

TEST(TCalcFormulas, SelectOuterCoefByMethodObjectSurfaceAndColumn) {
    struct Case {
        int32_t solver, surface;
        bool pipe, indoors, nonMetal;
        double coef;
        bool indoorsAfter;
    } cases[] = {
        {1, 45, true, false, false, 6, false},  {1, 19, true, false, false, 29, false},
        {1, 45, true, true, true, 10, true},    {1, 45, false, false, true, 11, false},
        {2, 0, true, false, true, 7, true},     {2, 0, false, false, false, 5, true},
        {2, 45, true, true, false, 6, true},    {2, 45, false, true, true, 12, true},
        {4, 0, false, false, false, 29, false}, {4, 45, false, false, false, 35, false},
        {4, 45, false, true, false, 7, true},   {4, 0, false, true, true, 11, true},
        {5, 45, true, false, false, 29, false}, {5, 0, true, false, false, 29, false},
    };
    for (const Case& k : cases) {
        T_calc c;
        c.SolverKind = k.solver;
        c.SurfaceTemp = k.surface;
        c.IsPipe = k.pipe;
        c.Indoors = k.indoors;
        c.NonMetalCover = k.nonMetal;
        c.SelectOuterCoef();
        EXPECT_EQ(c.OuterCoef, k.coef) << "solver " << k.solver << " surface " << k.surface;
        EXPECT_EQ(c.Indoors, k.indoorsAfter);
    }
}

TEST(TCalcFormulas, SolveCylinderRatioBracketsAndBisects) {
    T_calc c;
    const double x = c.SolveCylinderRatio(0.575343);
    EXPECT_NEAR(x, 1.4765, 1e-4);
    EXPECT_NEAR(x * std::log(x), 0.575343, 1e-4);
    EXPECT_EQ(c.RootLow, 0.00000001);
    EXPECT_EQ(c.RootHigh, 3.00000001);

    // A far root still ends, and an absurd one ends in bounded time.
    const double far = c.SolveCylinderRatio(5000);
    EXPECT_NEAR(far * std::log(far) / 5000, 1, 1e-6);
    EXPECT_GT(c.SolveCylinderRatio(1e30), 1e28);
    EXPECT_FALSE(std::isnan(c.SolveCylinderRatio(std::numeric_limits<double>::infinity())));
}

TEST(TCalcFormulas, RoundThicknessInStepsOf10Millimetres) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double metres;
        int32_t material, mm;
    } cases[] = {
        {0, 4, 0},
        {0.0123, 4, 10},
        {0.0134, 4, 20},
        {0.0123, 0, 20},
        {0.05, 4, 50},
        {0.02573, 4, 30},
        {-0.013, 4, -10},
        {0.0103, 4, 10},
        {0.0104, 6, 10},
        {0.02, 3, 30},
        {0.0125, 5, 10},
        // Beyond 32 bits the thickness saturates at the largest multiple of 10 mm; NaN shows 0.
        {1e7, 4, 2147483640},
        {inf, 4, 2147483640},
        {-inf, 4, -2147483640},
        {std::nan(""), 4, 0},
    };
    for (const Case& k : cases) {
        T_calc c;
        c.MaterialIndex = k.material;
        EXPECT_EQ(c.RoundThickness(k.metres), k.mm) << k.metres << " m of material " << k.material;
    }
}

// ---- Norm tables -------------------------------------------------------------------------

TEST(TCalcNorms, LookupNormFluxChoosesTableAndInterpolates) {
    struct Case {
        bool pipe, shortHours, indoors;
        int32_t diameter, carrier;
        double norm;
    } cases[] = {
        {true, true, false, 7, 150, 57},
        {true, true, false, 7, 175, 66.5},
        {true, true, false, 7, 20, 10},
        {true, true, false, 7, 600, 267},
        {true, true, false, 8, 125, 53.5},
        {true, false, true, 10, 300, 144},
        {true, true, false, 7, -40, 11},
        {true, true, true, 7, -40, 13},
        {true, false, true, 7, -40, 13},
        {true, true, false, 17, -40, 13},
        {false, true, false, 0, 150, 70},
        {false, true, true, 0, 50, 26},
        {false, true, true, 0, 30, 18},
        {false, true, false, 0, -15, 12},
        {true, true, false, 7, -15, 8},
        {true, true, false, 21, 600, 941},
        {true, true, false, 16, -180, 46},
        // Beyond a pipe table's axis the nearest end column counts.
        {true, true, true, 7, 30, 16},
        {true, true, false, 7, 700, 267},
        {true, true, false, 7, -250, 23},
        {false, true, false, 0, 700, 205},
        {false, true, false, 0, -250, 17},
        // The misprinted cold indoor norm of the 32 mm pipe.
        {true, true, true, 2, -20, 7},
    };
    for (const Case& k : cases) {
        T_calc c;
        c.IsPipe = k.pipe;
        c.UpTo5000Hours = k.shortHours;
        c.Indoors = k.indoors;
        c.DiameterIndex = k.diameter;
        c.CarrierTemp = k.carrier;
        c.LookupNormFlux();
        EXPECT_DOUBLE_EQ(c.NormFlux, k.norm)
            << (k.pipe ? "pipe " : "plane ") << k.diameter
            << (k.indoors ? " indoors " : " open air ") << k.carrier;
    }
}

TEST(TCalcNorms, InterpolationsBetweenAndBeyondTheirAxes) {
    const int32_t axis[] = {10, 20, 40};
    const double values[] = {1, 3, 7};
    struct Case {
        double x, value;
    } cases[] = {{10, 1}, {15, 2}, {30, 5}, {40, 7}, {5, 0}, {0, -1}, {41, 7}, {1e9, 7}};
    for (const Case& k : cases)
        EXPECT_DOUBLE_EQ(T_calc::InterpolateTable(3, values, axis, k.x), k.value) << k.x;

    // Two rows, two columns: between rows and columns at once; outside, the nearest end.
    const int32_t table[] = {10, 20, 30, 40};
    const int32_t rowsAxis[] = {100, 200}, colsAxis[] = {0, -10};
    EXPECT_DOUBLE_EQ(T_calc::InterpolatePipeNorm(table, 2, 2, rowsAxis, colsAxis, 150, -5), 25);
    EXPECT_DOUBLE_EQ(T_calc::InterpolatePipeNorm(table, 2, 2, rowsAxis, colsAxis, 200, -30), 40);
    EXPECT_DOUBLE_EQ(T_calc::InterpolatePipeNorm(table, 2, 2, rowsAxis, colsAxis, 50, 0), 10);
}

// A norm table read by row (the pipe's diameter) and column (the carrier's temperature, away
// from the air's). Whole watts of small norms repeat between neighbours: below `tiesBelow`.
struct NormTable {
    const char* name;
    std::size_t rows, columns;
    std::function<double(std::size_t row, std::size_t column)> at;
    double tiesBelow;
};

template <std::size_t R, std::size_t C>
NormTable Pipes(const char* name, const int32_t (&table)[R][C], double tiesBelow,
                std::size_t first = 0, std::size_t columns = C) {
    return {name, R, columns,
            [&table, first](std::size_t r, std::size_t c) { return double(table[r][first + c]); },
            tiesBelow};
}

template <std::size_t C>
NormTable Plane(const char* name, const std::array<double, C>& table, double tiesBelow) {
    return {name, 1, C, [&table](std::size_t, std::size_t c) { return table[c]; }, tiesBelow};
}

// A bigger pipe or a carrier further from the air loses more, so each table rises along both
// of its axes: a cell copied from a neighbour or mistyped breaks the order. The cold tables
// repeat their whole watts often, up to 20 W/m, but never over two steps.
TEST(TCalcNorms, EveryNormTableRisesAlongBothAxes) {
    using namespace tcalc_tables;
    constexpr double Often = 1e9;
    const NormTable tables[] = {
        Pipes("pipe, open air, up to 5000 h", PipeNormOpenShort, 10),
        Pipes("pipe, open air, over 5000 h", PipeNormOpenLong, 10),
        Pipes("pipe, indoors, up to 5000 h", PipeNormIndoorShort, 10),
        Pipes("pipe, indoors, over 5000 h", PipeNormIndoorLong, 10),
        Pipes("pipe, cold, open air", PipeNormColdOpen, Often),
        Pipes("pipe, cold, indoors", PipeNormColdIndoor, Often),
        Pipes("channel, up to 5000 h", ChannelNormRows, 10, 1, 3),
        Pipes("channel, over 5000 h", ChannelNormRows, 10, 4, 3),
        Plane("plane, open air, up to 5000 h", PlaneNormOpenShort, 10),
        Plane("plane, open air, over 5000 h", PlaneNormOpenLong, 10),
        Plane("plane, indoors, up to 5000 h", PlaneNormIndoorShort, 10),
        Plane("plane, indoors, over 5000 h", PlaneNormIndoorLong, 10),
        Plane("plane, cold", PlaneNormColdIndoor, Often),
    };
    for (const NormTable& t : tables)
        for (std::size_t r = 0; r < t.rows; ++r)
            for (std::size_t c = 0; c < t.columns; ++c)
                for (const auto& direction : {std::pair{1u, "down"}, std::pair{0u, "along"}}) {
                    // Named, not bound: clang 14 lets no lambda capture a structured binding.
                    const std::size_t down = direction.first;
                    SCOPED_TRACE(std::string(t.name) + ", row " + std::to_string(r) + ", column " +
                                 std::to_string(c) + ", " + direction.second);
                    const auto ahead = [&](std::size_t steps) -> std::optional<double> {
                        const std::size_t row = r + down * steps, column = c + (1 - down) * steps;
                        if (row >= t.rows || column >= t.columns) return std::nullopt;
                        return t.at(row, column);
                    };
                    const double here = t.at(r, c);
                    if (const auto next = ahead(1)) {
                        EXPECT_GE(*next, here);
                        if (here >= t.tiesBelow) {
                            EXPECT_GT(*next, here);
                        }
                    }
                    if (const auto second = ahead(2)) {
                        EXPECT_GT(*second, here);
                    }
                }

    // Over 5000 hours a year the norm of the same pipe and carrier is never higher.
    for (std::size_t r = 0; r < 23; ++r) {
        for (std::size_t c = 0; c < 13; ++c)
            EXPECT_LE(PipeNormOpenLong[r][c], PipeNormOpenShort[r][c]) << r << " " << c;
        for (std::size_t c = 0; c < 12; ++c)
            EXPECT_LE(PipeNormIndoorLong[r][c], PipeNormIndoorShort[r][c]) << r << " " << c;
        for (std::size_t c = 1; c <= 3; ++c)
            EXPECT_LE(ChannelNormRows[r][c + 3], ChannelNormRows[r][c]) << r << " " << c;
    }
}

// ---- Method 0: norm density of heat flux -------------------------------------------------

struct NormFluxCase {
    bool pipe, shortHours, indoors, nonMetal;
    int32_t air, carrier, diameter, region, location, material;
    int32_t status;
    const char* norm;      // nullptr: the output keeps the caller's value
    const char* thickness; // printed digits
    int32_t mm;
};

TEST(TCalcNormFlux, WorkedExamplesAndStatuses) {
    const NormFluxCase cases[] = {
        {true, true, false, false, 5, 150, Pipe108, 0, 0, 4, 0, "57", "0.049866", 50},
        {true, false, true, false, 20, 300, 10, 3, 1, 0, 0, "144", "0.099131", 120},
        {true, true, false, false, 20, -40, Pipe108, 0, 0, 4, 0, "11", "0.118622", 120},
        {true, true, false, false, 5, 10, Pipe108, 0, 0, 4, 0, "10", "0.020627", 20},
        {true, true, true, false, 5, 10, Pipe108, 0, 1, 4, 0, "16", "0.043407", 50},
        {true, true, false, false, 20, 0, Pipe108, 0, 0, 4, 0, "7", "0.046831", 50},
        {true, true, false, false, 100, -10, Pipe108, 0, 0, 4, 6, "7", "2.288", 2290},
        {true, true, false, false, 95, 1, Pipe108, 0, 0, 4, 6, "7", "1.3675", 1370},
        {true, true, false, false, 20, 300, Pipe108, 0, 0, 6, 7, "116", nullptr, 0},
        {false, true, false, false, 20, -40, Pipe108, 0, 0, 4, 0, "13", nullptr, 0},
        {true, true, false, false, 30, 20, Pipe108, 0, 0, 4, 4, nullptr, nullptr, 0},
        {true, true, false, false, 20, 20, Pipe108, 0, 0, 4, 5, nullptr, nullptr, 0},
        {true, true, false, false, -300, 150, Pipe108, 0, 0, 4, 1, nullptr, nullptr, 0},
        {true, true, false, false, 20, -10, 0, 0, 0, 4, 9, nullptr, nullptr, 0},
        {false, true, false, false, 20, -10, 0, 0, 0, 4, 0, "12", nullptr, 0},
        {true, true, false, false, 20, -200, Pipe108, 0, 0, 4, 8, "23", nullptr, 0},
        // Status order: 6 replaces 4, 9 replaces 6, 1 stands whatever follows.
        {true, true, false, false, 100, -10, 0, 0, 0, 4, 9, nullptr, nullptr, 0},
        {true, true, false, false, 95, -300, Pipe108, 0, 0, 4, 1, nullptr, nullptr, 0},
        {true, true, false, false, -300, -300, Pipe108, 0, 0, 4, 1, nullptr, nullptr, 0},
    };
    for (const NormFluxCase& k : cases) {
        T_calc c;
        double norm = -1, x = -1;
        const int32_t status =
            c.CalcByNormFlux(k.pipe, k.shortHours, k.indoors, k.nonMetal, k.air, k.carrier,
                             k.diameter, k.region, k.location, k.material, norm, x);
        SCOPED_TRACE("air " + std::to_string(k.air) + " carrier " + std::to_string(k.carrier));
        EXPECT_EQ(status, k.status);
        if (k.norm) {
            EXPECT_PRINTED(norm, k.norm);
        } else {
            EXPECT_EQ(norm, -1);
            EXPECT_EQ(x, -1);
        }
        if (k.thickness) {
            EXPECT_PRINTED(x, k.thickness);
            EXPECT_EQ(c.RoundThickness(x), k.mm);
        }
    }
}

TEST(TCalcNormFlux, IntermediateValuesOfTheFirstExample) {
    T_calc c;
    double norm = 0, x = 0;
    c.CalcByNormFlux(true, true, false, false, 5, 150, Pipe108, 0, 0, 4, norm, x);
    EXPECT_EQ(c.OuterCoef, 29);
    EXPECT_NEAR(c.Lambda, 0.0417916, 1e-7);
    EXPECT_EQ(c.SolverKind, 4);
    EXPECT_EQ(c.Thickness, x);

    c.CalcByNormFlux(true, false, true, false, 20, 300, 10, 3, 1, 0, norm, x);
    EXPECT_EQ(c.RegionCoef, 0.98);
    EXPECT_EQ(c.OuterCoef, 6);
}

TEST(TCalcNormFlux, CarrierAdjustmentIsStored) {
    struct Case {
        bool indoors;
        int32_t carrier, stored;
    } cases[] = {{false, 1, 0},  {false, 2, 0},   {false, 3, 20}, {true, 3, 50},
                 {true, 19, 50}, {false, 20, 20}, {true, 0, 0},   {false, -5, -5}};
    for (const Case& k : cases) {
        T_calc c;
        double norm = 0, x = 0;
        c.CalcByNormFlux(true, true, k.indoors, false, -20, k.carrier, Pipe108, 0, 0, 4, norm, x);
        EXPECT_EQ(c.CarrierTemp, k.stored) << k.carrier;
    }
}

// ---- Method 1: given surface temperature ---------------------------------------------------

struct SurfaceCase {
    bool pipe, indoors, nonMetal;
    int32_t air, carrier, surface, material;
    int32_t status;
    const char* thickness; // nullptr: the output keeps the caller's value
    int32_t mm;
};

TEST(TCalcSurfaceTemp, WorkedExamplesAndStatuses) {
    const SurfaceCase cases[] = {
        {true, false, false, 20, 150, 45, 4, 0, "0.025732", 30},
        {false, false, false, 20, 150, 45, 4, 0, "0.031069", 30},
        {true, true, true, 20, 150, 45, 0, 0, "0.016764", 20},
        {true, false, false, 10, 150, 19, 4, 0, "0.018544", 20},
        {true, false, false, 20, -40, 10, 4, 0, "0.005581", 10},
        {true, false, false, 20, 150, 160, 4, 2, nullptr, 0},
        {true, false, false, 20, 150, 10, 4, 3, nullptr, 0},
        {true, false, false, 20, 150, 20, 4, 4, nullptr, 0},
        {true, false, false, 20, 150, 150, 4, 0, "0", 0},
        {true, false, false, 20, 700, 45, 4, 5, "0.237368", 0},
        {true, false, false, 20, -200, -100, 4, 6, "0", 0},
        {true, false, false, 20, -300, -100, 4, 6, nullptr, 0},
        {true, false, false, -300, 150, 45, 4, 8, nullptr, 0},
        // Status order: the air below absolute zero outranks a surface needing no insulation.
        {true, false, false, -300, 150, 160, 4, 8, nullptr, 0},
        // The limit of this call's material decides even after a rejection.
        {true, false, false, 20, 300, 20, 6, 5, nullptr, 0},
    };
    for (const SurfaceCase& k : cases) {
        T_calc c;
        double x = -1;
        const int32_t status = c.CalcBySurfaceTemp(k.pipe, k.indoors, k.nonMetal, k.air, k.carrier,
                                                   k.surface, Pipe108, k.material, x);
        SCOPED_TRACE("air " + std::to_string(k.air) + " carrier " + std::to_string(k.carrier) +
                     " surface " + std::to_string(k.surface));
        EXPECT_EQ(status, k.status);
        if (!k.thickness) {
            EXPECT_EQ(x, -1);
        } else if (k.status == 6) {
            EXPECT_GT(x, 0); // computed for the rejected carrier
        } else {
            EXPECT_PRINTED(x, k.thickness);
            if (k.status == 0) {
                EXPECT_EQ(c.RoundThickness(x), k.mm);
            }
        }
    }
}

TEST(TCalcSurfaceTemp, RoadOfOneCalculation) {
    T_calc c;
    double x = 0;
    ASSERT_EQ(c.CalcBySurfaceTemp(true, false, false, 20, 150, 45, Pipe108, Cylinder80, x), 0);
    EXPECT_EQ(c.OuterCoef, 6);
    EXPECT_NEAR(c.Lambda, 0.0443836, 1e-7);
    EXPECT_NEAR(c.RootTarget, 0.575343, 1e-6);
    EXPECT_EQ(c.SurfaceTemp, 45);
    EXPECT_EQ(c.RoundThickness(x), 30);

    c.CalcBySurfaceTemp(true, true, true, 20, 150, 45, Pipe108, 0, x);
    EXPECT_EQ(c.OuterCoef, 10);
    EXPECT_NEAR(c.Lambda, 0.0455536, 1e-7);
}

// ---- Method 2: against condensation --------------------------------------------------------

TEST(TCalcCondensation, DewPointDepressionOverWaterAndIce) {
    EXPECT_NEAR(T_calc::DewPointDepression(60, 20), 8.0097, 1e-4);
    EXPECT_NEAR(T_calc::DewPointDepression(80, -5), 2.5817, 1e-4);
    EXPECT_NEAR(T_calc::DewPointDepression(80, 20), 3.5617, 1e-4);
    EXPECT_NEAR(T_calc::DewPointDepression(50, 20), 10.747, 1e-3);
    EXPECT_NEAR(T_calc::DewPointDepression(100, 20), 0, 1e-12);
}

struct CondensationCase {
    bool pipe, nonMetal;
    int32_t air, carrier, humidity;
    int32_t status;
    const char* thickness;
    int32_t mm;
};

TEST(TCalcCondensation, WorkedExamplesAndStatuses) {
    const CondensationCase cases[] = {
        {true, false, 20, 5, 60, 0, "0.005848", 10},
        {true, true, 20, 5, 60, 0, "0.004231", 10},
        {false, false, 20, -10, 80, 0, "0.053133", 60},
        {true, false, -5, -30, 80, 0, "0.046105", 50},
        {true, false, 20, 15, 50, 0, "0", 0},
        {false, false, 20, 15, 50, 0, "0", 0},
        {true, false, 20, 20, 60, 2, nullptr, 0},
        {true, false, 51, 5, 60, 1, nullptr, 0},
        {true, false, -41, -50, 60, 1, nullptr, 0},
        {true, false, 20, -200, 60, 6, nullptr, 0},
        // Saturated air, or air without vapour: no thickness exists.
        {true, false, 20, 5, 100, 3, nullptr, 0},
        {true, false, 20, 5, 0, 3, nullptr, 0},
        // Status order: 2 replaces 1, 6 replaces 3.
        {true, false, 60, 70, 60, 2, nullptr, 0},
        {true, false, 20, -200, 100, 6, nullptr, 0},
    };
    for (const CondensationCase& k : cases) {
        T_calc c;
        double x = -1;
        const int32_t status = c.CalcAgainstCondensation(k.pipe, k.nonMetal, k.air, k.carrier,
                                                         k.humidity, Pipe108, 4, x);
        SCOPED_TRACE("air " + std::to_string(k.air) + " carrier " + std::to_string(k.carrier) +
                     " humidity " + std::to_string(k.humidity));
        EXPECT_EQ(status, k.status);
        EXPECT_TRUE(c.Indoors);
        if (k.thickness) {
            EXPECT_PRINTED(x, k.thickness);
            EXPECT_EQ(c.RoundThickness(x), k.mm);
        } else {
            EXPECT_EQ(x, -1);
        }
    }
}

// The surface temperature of a surface-temperature calculation picks the outer
// coefficient of later ones only until the engine is reset, as choosing a kind does.
TEST(TCalcCondensation, CoefficientIsNotInheritedAcrossAReset) {
    T_calc c;
    double x = 0;
    c.CalcAgainstCondensation(true, false, 20, 5, 60, Pipe108, 4, x);
    EXPECT_EQ(c.OuterCoef, 5);
    EXPECT_NEAR(c.Lambda, 0.0352396, 1e-7);

    c.CalcBySurfaceTemp(true, false, false, 20, 150, 45, Pipe108, 4, x);
    c.CalcAgainstCondensation(true, false, 20, 5, 60, Pipe108, 4, x);
    EXPECT_EQ(c.OuterCoef, 6); // without a reset the indoor row 3 counts
    c.Reset();
    c.CalcAgainstCondensation(true, false, 20, 5, 60, Pipe108, 4, x);
    EXPECT_EQ(c.OuterCoef, 5);
}

// ---- Method 3: two-pipe heat-network channel ----------------------------------------------

struct ChannelCase {
    int32_t supply;
    double height, width, soilLambda, depth;
    int32_t soilTemp, diameter, material;
    int32_t status;
    const char* thickness; // "0" after every rejection
    int boxes;             // engine message boxes shown
};

TEST(TCalcChannel, WorkedExamplesAndStatuses) {
    const ChannelCase cases[] = {
        {1, 1.0, 1.0, 2.0, 2.0, 5, Pipe108, 4, 0, "0.049060", 0},
        {1, 0.5, 1.0, 2.0, 2.0, 5, Pipe108, 4, 0, "0.048416", 0},
        {1, 1.0, 0.4, 2.0, 2.0, 5, Pipe108, 4, 5, "0", 0},
        {1, 0.3, 0.3, 2.0, 2.0, 5, Pipe108, 4, 5, "0", 1},
        {1, 1.0, 1.0, 2.0, 2.0, 5, 21, 4, 5, "0", 1},
        {0, 1.0, 1.2, 2.0, 2.0, 5, 12, 4, 0, "0.046178", 0},
        {2, 1.5, 2.0, 1.5, 3.0, 5, 15, 0, 0, "0.054610", 0},
        {0, 1.0, 1.0, 2.0, 2.0, 5, 0, 4, 0, "0.049667", 0},
        {1, 1.0, 1.0, 2.0, 2.0, 35, Pipe108, 4, 0, "0.019534", 0},
        {1, 0.0, 1.0, 2.0, 2.0, 5, Pipe108, 4, 4, "0", 0},
        {1, 1.0, 0.0, 2.0, 2.0, 5, Pipe108, 4, 3, "0", 0},
        {1, 1.0, 1.0, 2.0, 0.4, 5, Pipe108, 4, 2, "0", 0},
        {1, 1.0, 1.0, 0.0, 2.0, 5, Pipe108, 4, 1, "0", 0},
        {1, 0.0, 1.0, 0.0, 2.0, 5, Pipe108, 4, 1, "0", 0},
        {1, 1.0, 1.0, 2.0, 2.0, -300, Pipe108, 4, 7, "0", 0},
        // Only the height too small: the box, then status 6.
        {1, 0.3, 1.0, 2.0, 2.0, 5, Pipe108, 4, 6, "0", 1},
        // Warm soil leaves the 1020 mm pair bare: 2,53 m holds it, a millimetre less does not.
        {0, 1.5, 2.53, 2.0, 2.0, 35, 21, 4, 0, "0", 0},
        {0, 1.5, 2.529, 2.0, 2.0, 35, 21, 4, 5, "0", 0},
    };
    for (const ChannelCase& k : cases) {
        T_calc c;
        std::vector<std::string> boxes;
        c.ShowMessageBox = [&](const std::string& text, const std::string& caption) {
            boxes.push_back(text + " | " + caption);
        };
        double x = -1;
        const int32_t status = c.CalcTwoPipeChannel(k.supply, k.height, k.width, k.soilLambda,
                                                    k.depth, k.soilTemp, k.diameter, k.material, x);
        SCOPED_TRACE("height " + std::to_string(k.height) + " width " + std::to_string(k.width) +
                     " diameter " + std::to_string(k.diameter));
        EXPECT_EQ(status, k.status);
        EXPECT_PRINTED(x, k.thickness);
        ASSERT_EQ(int(boxes.size()), k.boxes);
        if (k.boxes) {
            EXPECT_EQ(boxes[0], "Высота канала недостаточна | Скорректируйте входные данные");
        }
    }
}

TEST(TCalcChannel, IntermediateValuesOfTheFirstExample) {
    T_calc c;
    double x = 0;
    c.CalcTwoPipeChannel(1, 1.0, 1.0, 2.0, 2.0, 5, Pipe108, 4, x);
    EXPECT_NEAR(c.SoilResistance() + c.ChannelWallResistance(), 0.174154, 1e-5);
    EXPECT_EQ(c.SupplyTemp, 90);
    EXPECT_EQ(c.SolverKind, 3);
    EXPECT_TRUE(c.IsPipe);
    EXPECT_TRUE(c.Indoors);
    EXPECT_EQ(c.Thickness, x);
}

TEST(TCalcChannel, HoursSupplyIndexAndAVanishingPipe) {
    T_calc c;
    double x = 0, longHours = 0;
    c.CalcTwoPipeChannel(1, 1, 1, 2, 2, 5, Pipe108, 4, x);
    c.UpTo5000Hours = false;
    c.CalcTwoPipeChannel(1, 1, 1, 2, 2, 5, Pipe108, 4, longHours);
    EXPECT_GT(longHours, x); // a lower norm needs more insulation

    // An unknown supply index keeps the last supply temperature.
    c.CalcTwoPipeChannel(7, 1, 1, 2, 2, 5, Pipe108, 4, x);
    EXPECT_EQ(c.SupplyTemp, 90);

    // Warm soil of low conductivity drives the correction below -d/2: the thickness is 0.
    for (int32_t diameter = 0; diameter < 4; ++diameter) {
        const int32_t status = c.CalcTwoPipeChannel(0, 1, 1, 0.5, 2, 45, diameter, 4, x);
        EXPECT_EQ(status, 0);
        EXPECT_FALSE(std::isnan(x));
        EXPECT_GE(2 * x + 0.001 * T_calc::OuterDiametersMm()[diameter], 0) << diameter;
    }
}

// The room of a bare pair is whole millimetres to the last bit: rounded up to millimetres, as
// the box that names it does, it stays as it is.
TEST(TCalcChannel, ABarePairsRoomIsWholeMillimetres) {
    T_calc c;
    for (int32_t diameter = 0; diameter < T_calc::DiameterCount; ++diameter) {
        c.DiameterIndex = diameter;
        const T_calc::ChannelRoom room = c.NeededChannel(0);
        for (const double metres : {room.height, room.width})
            EXPECT_EQ(std::ceil(metres * 1000) / 1000, metres) << "diameter " << diameter;
    }
}

// ---- Method 4: against freezing ---------------------------------------------------------

struct FreezingCase {
    int32_t air;
    double wall;
    int32_t hours, water, diameter, laying;
    int32_t status;
    const char* thickness;
    int32_t mm;
};

TEST(TCalcFreezing, WorkedExamplesAndStatuses) {
    const FreezingCase cases[] = {
        {-40, 5, 24, 18, Pipe108, 6, 0, "0.051688", 50},
        {-40, 5, 24, 18, Pipe108, 0, 0, "0.054873", 60},
        {-40, 5, 24, 0, Pipe108, 6, 0, "0.126035", 130},
        {-40, 5, 2, 18, Pipe108, 6, 0, "0.0025176", 0},
        {-40, 5, 1, 18, Pipe108, 6, 0, "0.00093222", 0},
        {-40, 5, 1, 18, 21, 6, 4, "-0.00091850", 0},
        {-40, 5, 12, 18, 2, 6, 5, "1.376406", 1380},
        {-40, 5, 24, -5, Pipe108, 6, 6, "0.241374", 240},
        {5, 5, 24, 18, Pipe108, 6, 1, "0", 0},
        {0, 5, 24, 18, Pipe108, 6, 1, "0", 0}, // no frost at exactly 0 C either
        {-40, 0, 24, 18, Pipe108, 6, 2, "0", 0},
        {-40, 5, 0, 18, Pipe108, 6, 3, "0", 0},
        {-300, 5, 24, 18, Pipe108, 6, 7, "0", 0},
        // Status order: later rejections replace earlier ones; 4 and 5 replace 6.
        {5, 0, 0, 18, Pipe108, 6, 1, "0", 0},
        {-300, 0, 0, -5, Pipe108, 6, 7, "0", 0},
        {-40, 5, 1, -5, 21, 6, 4, nullptr, 0},
        {-40, 5, 200, -5, Pipe108, 6, 5, nullptr, 0},
        {-40, 0, 24, -5, Pipe108, 6, 2, "0", 0},
    };
    for (const FreezingCase& k : cases) {
        T_calc c;
        double x = -1;
        const int32_t status =
            c.CalcAgainstFreezing(k.air, k.wall, k.hours, k.water, k.diameter, 4, k.laying, x);
        SCOPED_TRACE("air " + std::to_string(k.air) + " hours " + std::to_string(k.hours) +
                     " diameter " + std::to_string(k.diameter));
        EXPECT_EQ(status, k.status);
        if (k.thickness) {
            EXPECT_PRINTED(x, k.thickness);
            if (k.status == 0) {
                EXPECT_EQ(c.RoundThickness(x), k.mm);
            }
        }
    }
}

TEST(TCalcFreezing, IntermediateValuesAndTheMetrePassedAt105Hours) {
    T_calc c;
    double x = 0;
    c.CalcAgainstFreezing(-40, 5, 24, 18, Pipe108, 4, 6, x);
    EXPECT_EQ(c.OuterCoef, 29);
    EXPECT_NEAR(c.Lambda, 0.0341884, 1e-7);
    EXPECT_EQ(c.LossCoef, 1.15);
    EXPECT_NEAR(c.WallThickness, 0.005, 1e-15);
    EXPECT_NEAR(c.FreezingResistance(), 3.178785, 1e-6);
    EXPECT_NEAR(std::log(c.RootTarget), 0.671506, 1e-6);

    EXPECT_EQ(c.CalcAgainstFreezing(-40, 5, 104, 18, Pipe108, 4, 6, x), 0);
    EXPECT_EQ(c.CalcAgainstFreezing(-40, 5, 105, 18, Pipe108, 4, 6, x), 5);
}

TEST(TCalcFreezing, ThicknessesBeyondReasonStaySafe) {
    T_calc c;
    double x = 0;
    // A long standstill on a thin pipe: far beyond 32 bits of millimetres, even infinite.
    EXPECT_EQ(c.CalcAgainstFreezing(-40, 5, 1000, 18, 0, 4, 6, x), 5);
    EXPECT_EQ(c.RoundThickness(x), 2147483640);
    EXPECT_EQ(c.CalcAgainstFreezing(-1, 1, 2147483647, 0, 0, 4, 5, x), 5);
    EXPECT_EQ(c.RoundThickness(x), 2147483640);

    // Water at exactly twice the air temperature, and terms that cancel: no heat to spend,
    // so no resistance keeps the water and the conditions cannot be met.
    EXPECT_EQ(c.CalcAgainstFreezing(-10, 5, 24, -20, Pipe108, 4, 6, x), 4);
    EXPECT_EQ(c.FreezingResistance(), 0);
    EXPECT_LT(x, 0);
}

TEST(TCalcSafety, IndicesOutsideTheTablesNeverReadOutOfBounds) {
    const int32_t indices[] = {-2147483647 - 1, -1, 22, 23, 2147483647};
    for (int32_t i : indices) {
        T_calc c;
        double norm = 0, x = 0;
        c.CalcByNormFlux(true, true, false, false, 5, 150, i, i, i, i, norm, x);
        c.CalcByNormFlux(true, true, true, false, 20, -40, i, i, i, i, norm, x);
        c.CalcBySurfaceTemp(true, false, false, 20, 150, 45, i, i, x);
        c.CalcAgainstCondensation(true, false, 20, 5, 60, i, i, x);
        c.CalcTwoPipeChannel(i, 1, 1, 2, 2, 5, i, i, x);
        c.CalcAgainstFreezing(-40, 5, 24, 18, i, i, i, x);
        EXPECT_FALSE(std::isnan(x)) << i;
        c.RoundThickness(x);
    }
}

} // namespace
