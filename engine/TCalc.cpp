#include "TCalc.h"
#include "TCalcTables.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

using namespace tcalc_tables;

// ---- Helpers ----------------------------------------------------------------------------

// The engine trusts its callers with the indices, but never reads outside a table.
int32_t Bounded(int32_t index, int32_t count) {
    return std::clamp(index, 0, count - 1);
}

// Mean of two whole-degree temperatures, halved with truncation toward zero.
double WholeMean(int64_t a, int64_t b) {
    return static_cast<double>((a + b) / 2);
}

// The layer around a pipe of outer diameter d whose insulated diameter is ratio * d.
double LayerForRatio(double d, double ratio) {
    return d * (ratio - 1) / 2;
}

// Resistance of one metre of a pipe's surface of diameter `surface` to the air.
double PipeSurfaceResistance(double alpha, double surface) {
    return 1 / (Pi * alpha * surface);
}

// ln(D/d) of the insulation of a pipe of diameter d that gives the total resistance r (per
// metre), with the surface resistance taken at the insulated diameter d + 0.1 m.
double LogRatioForResistance(double lambda, double r, double alpha, double d) {
    return 2 * Pi * lambda * (r - PipeSurfaceResistance(alpha, d + 0.1));
}

// Resistance of one metre of a layer of thickness x around a pipe of diameter d.
double LayerResistance(double lambda, double d, double x) {
    return std::log1p(2 * x / d) / (2 * Pi * lambda);
}

// What a layer lets through: the surface resistance and the total behind it.
struct Resistances {
    double surface, total;
};

// A pipe's layer with the surface resistance at diameter `surface`, or a plane's layer.
Resistances PipeLayer(double lambda, double alpha, double d, double x, double surface) {
    const double rs = PipeSurfaceResistance(alpha, surface);
    return {rs, LayerResistance(lambda, d, x) + rs};
}
Resistances PlaneLayer(double lambda, double alpha, double x) {
    return {1 / alpha, x / lambda + 1 / alpha};
}

// A layer whose surface resistance is taken at its own outer diameter.
Resistances LayerToItsSurface(bool isPipe, double lambda, double alpha, double d, double x) {
    return isPipe ? PipeLayer(lambda, alpha, d, x, d + 2 * x) : PlaneLayer(lambda, alpha, x);
}

// A check's figure meets its limit up to the rounding of the arithmetic behind it.
bool WithinLimit(double value, double limit) {
    return value <= limit + 1e-9 * std::abs(limit);
}

template <size_t Rows, size_t Cols>
std::span<const int32_t> Flat(const int32_t (&table)[Rows][Cols]) {
    return {&table[0][0], Rows * Cols};
}

// Position of x between the points of an axis, searched by absolute value so that a
// falling cold axis works too: lower and upper point, and the fraction between them.
struct Bracket {
    size_t lower, upper;
    double fraction;
};

// Bracket on a pipe table's axis. Beyond its ends the nearest end point counts.
Bracket ClampedBracket(std::span<const int32_t> axis, double x) {
    for (size_t i = 0; i < axis.size(); ++i) {
        if (axis[i] == x) return {i, i, 1.0};
        if (std::abs(axis[i]) > std::abs(x)) {
            if (i == 0) return {0, 0, 1.0};
            return {i - 1, i, (x - axis[i - 1]) / double(axis[i] - axis[i - 1])};
        }
    }
    return {axis.size() - 1, axis.size() - 1, 1.0};
}

} // namespace

// ---- Object ----------------------------------------------------------------------------

T_calc::T_calc() {
    Reset();
}

void T_calc::Reset() {
    Lambda = 0.055;
    NormFlux = 0;
    UpTo5000Hours = true;
    GroundTemp = 0;
    GroundLambda = 0;
    ChannelDepth = 0;
    ChannelHeight = 0;
    ChannelWidth = 0;
    SupplyTemp = 65;
    ReturnTemp = 50;
    LowerLimit = -180;
    LossCoef = LossCoefTable[0];
    MaterialIndex = 0;
    WaterTemp = 0;
    StandstillHours = 0;
    WallThickness = 0;
    IsPipe = true;
    Indoors = false;
    NonMetalCover = false;
    AirTemp = 0;
    CarrierTemp = 0;
    // A surface-temperature calculation leaves its given surface here, and it picks the outer
    // coefficient of the other kinds: no kind may inherit it.
    SurfaceTemp = 0;
    DiameterIndex = 0;
    Humidity = 55;
}

std::span<const int32_t, T_calc::DiameterCount> T_calc::OuterDiametersMm() {
    return OuterDiameterMm;
}

double T_calc::PipeDiameter() const {
    return 0.001 * OuterDiameterMm[Bounded(DiameterIndex, DiameterCount)];
}

double T_calc::InstalledThickness(int32_t productMm) const {
    return 0.001 * productMm / MaterialLaws[Bounded(MaterialIndex, MaterialCount)].settling;
}

double T_calc::ProductMillimetres(double installed) const {
    return 1000 * MaterialLaws[Bounded(MaterialIndex, MaterialCount)].settling * installed;
}

std::optional<int32_t> T_calc::SmallestMeetingThickness(int32_t fromMm, int32_t largestMm,
                                                        const std::function<bool(int32_t)>& meets) {
    // In steps of 10 mm: `low` fails, so double the stride until a step meets, then halve
    // the gap between the last that failed and the first that met.
    int64_t low = std::max(fromMm, 0) / 10;
    const int64_t last = largestMm / 10;
    if (low >= last) return std::nullopt;
    int64_t high = low + 1;
    for (int64_t stride = 1; !meets(int32_t(high * 10)); stride *= 2) {
        if (high == last) return std::nullopt;
        low = high;
        high = std::min(low + stride, last);
    }
    while (high - low > 1) {
        const int64_t middle = low + (high - low) / 2;
        (meets(int32_t(middle * 10)) ? high : low) = middle;
    }
    return int32_t(high * 10);
}

// ---- Shared formulas ---------------------------------------------------------------------

double T_calc::Conductivity(double t) {
    const MaterialLaw& law = MaterialLaws[Bounded(MaterialIndex, MaterialCount)];
    UpperLimit = law.upperLimit;
    return law.c * t * t + law.b * t + law.a;
}

void T_calc::SelectOuterCoef() {
    int column = (Indoors ? 0 : 2) + (NonMetalCover ? 1 : 0);
    int row;
    if (SurfaceTemp > 19) {
        if (SolverKind == 1)
            row = IsPipe ? 2 : 0;
        else
            row = IsPipe ? 3 : 1;
    } else if (SolverKind == 2) {
        // Condensation is a matter of indoor air.
        row = 4;
        column = NonMetalCover ? 1 : 0;
        Indoors = true;
    } else {
        row = 5;
    }
    OuterCoef = OuterCoefTable[row][column];
}

double T_calc::SolveCylinderRatio(double b) {
    auto g = [b](double x) { return x * std::log(x) - b; };

    // Steps of 3 bracket every realistic ratio within a few steps. Past a million steps
    // the step doubles, so that an absurd B still ends in bounded time.
    constexpr int LinearSteps = 1'000'000;
    RootLow = 0.00000001;
    RootHigh = RootLow + 3;
    double step = 3;
    for (int steps = 0; g(RootHigh) < 0; ++steps) {
        RootLow = RootHigh;
        if (steps >= LinearSteps) step *= 2;
        RootHigh = RootLow + step;
    }

    double a = RootLow, c = RootHigh;
    double fa = g(a);
    for (;;) {
        const double m = (a + c) / 2;
        if (m <= a || m >= c) break; // no double left between the ends
        const double gm = g(m);
        if (fa * gm > 0) {
            a = m;
            fa = gm;
        } else {
            c = m;
        }
        if (std::abs(a - c) <= 0.0001) break;
    }
    return (a + c) / 2;
}

int32_t T_calc::RoundThickness(double thickness) const {
    // The largest multiple of 10 mm that fits; beyond it the thickness is shown saturated.
    constexpr double Largest = 2147483640;
    if (std::isnan(thickness)) return 0;
    const double x = MaterialLaws[Bounded(MaterialIndex, MaterialCount)].settling * thickness;
    const double cm = 100 * x;
    // Up to 3 mm above a whole centimetre rounds down, more rounds up.
    const double mm =
        (cm - std::floor(cm)) * 10 > RoundingDownMm ? 10 * std::ceil(cm) : 10 * std::floor(cm);
    return static_cast<int32_t>(std::clamp(mm, -Largest, Largest));
}

// ---- Norm tables -------------------------------------------------------------------------

double T_calc::InterpolatePipeNorm(std::span<const int32_t> table, int rows, int cols,
                                   std::span<const int32_t> diameterAxis,
                                   std::span<const int32_t> tempAxis, double diameter,
                                   double temp) {
    const Bracket r =
        ClampedBracket(diameterAxis.first(std::min<size_t>(rows, diameterAxis.size())), diameter);
    const Bracket c = ClampedBracket(tempAxis.first(std::min<size_t>(cols, tempAxis.size())), temp);
    auto at = [&](size_t row, size_t col) { return double(table[row * cols + col]); };
    auto alongRow = [&](size_t row) {
        return at(row, c.lower) + (at(row, c.upper) - at(row, c.lower)) * c.fraction;
    };
    const double lower = alongRow(r.lower);
    if (r.lower == r.upper) return lower;
    return lower + (alongRow(r.upper) - lower) * r.fraction;
}

double T_calc::InterpolateTable(int n, std::span<const double> values,
                                std::span<const int32_t> axis, double x) {
    n = std::min({n, int(values.size()), int(axis.size())});
    if (n <= 0) return 0;
    if (n == 1) return values[0];
    for (int i = 0; i < n; ++i) {
        if (axis[i] == x) return values[i];
        // Below the first point no bracket is fixed yet: the next point fixes 0 .. 1,
        // which extends the first segment.
        if (i > 0 && std::abs(axis[i]) > std::abs(x)) {
            const double f = (x - axis[i - 1]) / double(axis[i] - axis[i - 1]);
            return values[i - 1] + (values[i] - values[i - 1]) * f;
        }
    }
    return values[n - 1]; // beyond the last point the last value holds
}

void T_calc::LookupNormFlux() {
    const int32_t t = CarrierTemp;
    const int32_t d = Bounded(DiameterIndex, DiameterCount);
    if (t > 0) {
        if (IsPipe) {
            auto table =
                Indoors ? (UpTo5000Hours ? Flat(PipeNormIndoorShort) : Flat(PipeNormIndoorLong))
                        : (UpTo5000Hours ? Flat(PipeNormOpenShort) : Flat(PipeNormOpenLong));
            const std::span<const int32_t> axis = Indoors
                                                      ? std::span<const int32_t>(HotIndoorTemps)
                                                      : std::span<const int32_t>(HotOpenAirTemps);
            NormFlux = InterpolatePipeNorm(table, 23, int(axis.size()), NominalBoreMm, axis,
                                           NominalBoreMm[d], t);
        } else if (Indoors) {
            NormFlux = InterpolateTable(
                12, UpTo5000Hours ? PlaneNormIndoorShort : PlaneNormIndoorLong, HotIndoorTemps, t);
        } else {
            NormFlux = InterpolateTable(13, UpTo5000Hours ? PlaneNormOpenShort : PlaneNormOpenLong,
                                        HotOpenAirTemps, t);
        }
    } else if (IsPipe && d <= 16) {
        // Row DiameterIndex - 1 of the cold tables serves this pipe.
        const int32_t row = std::max(d - 1, 0);
        NormFlux = InterpolatePipeNorm(Indoors ? Flat(PipeNormColdIndoor) : Flat(PipeNormColdOpen),
                                       16, 11, std::span(NominalBoreMm).first(16), ColdTemps,
                                       NominalBoreMm[row], t);
    } else {
        NormFlux =
            InterpolateTable(11, Indoors ? PlaneNormColdIndoor : PlaneNormColdOpen, ColdTemps, t);
    }
}

// ---- Method 0: norm density of heat flux -------------------------------------------------

int32_t T_calc::CalcByNormFlux(bool isPipe, bool upTo5000Hours, bool indoors, bool nonMetalCover,
                               int32_t airTemp, int32_t carrierTemp, int32_t diameterIndex,
                               int32_t regionIndex, int32_t locationIndex, int32_t materialIndex,
                               double& normFlux, double& thickness) {
    IsPipe = isPipe;
    UpTo5000Hours = upTo5000Hours;
    Indoors = indoors;
    NonMetalCover = nonMetalCover;
    AirTemp = airTemp;
    CarrierTemp = carrierTemp;
    DiameterIndex = diameterIndex;
    MaterialIndex = materialIndex;
    int32_t status = 0;

    // Below absolute zero nothing is computed, whatever the later checks say.
    const bool belowAbsoluteZero = AirTemp < -273 || CarrierTemp < -273;
    if (CarrierTemp > 0 && AirTemp >= CarrierTemp) status = 4; // no heat loss
    if (CarrierTemp == AirTemp) status = 5;

    // Low hot carriers start at the first temperature of their norm table.
    if (CarrierTemp >= 1 && CarrierTemp <= 2)
        CarrierTemp = 0;
    else if (CarrierTemp >= 3 && CarrierTemp <= 19)
        CarrierTemp = Indoors ? 50 : 20;

    if (CarrierTemp <= 0 && AirTemp > 90) status = 6; // warning: cold carrier, hot air
    if (CarrierTemp <= 0 && IsPipe && DiameterIndex == 0) status = 9; // no cold norm for 18 mm
    if (belowAbsoluteZero) status = 1;

    RegionCoef = RegionCoefTable[Bounded(regionIndex, RegionCount)][Bounded(locationIndex, 2)];

    if (status == 0 || status == 6) {
        thickness = SolveNormFlux();
        normFlux = NormFlux;
        if (CarrierTemp > UpperLimit) status = 7;
        if (CarrierTemp < LowerLimit) status = 8;
    }
    return status;
}

double T_calc::SolveNormFlux() {
    SolverKind = 4;
    SelectOuterCoef();
    const double alpha = OuterCoef;
    Lambda = Conductivity(WholeMean(CarrierTemp, AirTemp));
    LookupNormFlux();
    // The total resistance that the norm allows.
    const double r = std::abs(double(CarrierTemp) - AirTemp) / (RegionCoef * NormFlux);
    if (NormPerMetre()) {
        const double d = PipeDiameter();
        RootTarget = std::exp(LogRatioForResistance(Lambda, r, alpha, d));
        Thickness = LayerForRatio(d, RootTarget);
    } else {
        Thickness = Lambda * (r - 1 / alpha);
    }
    return Thickness;
}

// A pipe's norm is per metre, except a cold pipe beyond the cold pipe table's diameters,
// which takes the norm of a plane.
bool T_calc::NormPerMetre() const {
    return IsPipe && (CarrierTemp > 0 || Bounded(DiameterIndex, DiameterCount) <= 16);
}

bool T_calc::NormFluxCheck::Met() const {
    return WithinLimit(flux, allowedFlux);
}

T_calc::NormFluxCheck T_calc::CheckNormFlux(double installed) const {
    const bool perMetre = NormPerMetre();
    const double d = PipeDiameter();
    const Resistances r = perMetre ? PipeLayer(Lambda, OuterCoef, d, installed, d + 0.1)
                                   : PlaneLayer(Lambda, OuterCoef, installed);
    const double difference = double(CarrierTemp) - AirTemp;
    return {std::abs(difference) / r.total,
            RegionCoef * NormFlux,
            AirTemp + difference * r.surface / r.total,
            perMetre,
            NormFlux,
            RegionCoef};
}

// ---- Method 1: given surface temperature ---------------------------------------------------

int32_t T_calc::CalcBySurfaceTemp(bool isPipe, bool indoors, bool nonMetalCover, int32_t airTemp,
                                  int32_t carrierTemp, int32_t surfaceTemp, int32_t diameterIndex,
                                  int32_t materialIndex, double& thickness) {
    IsPipe = isPipe;
    Indoors = indoors;
    NonMetalCover = nonMetalCover;
    AirTemp = airTemp;
    CarrierTemp = carrierTemp;
    SurfaceTemp = surfaceTemp;
    DiameterIndex = diameterIndex;
    MaterialIndex = materialIndex;
    const int32_t s = surfaceTemp, w = carrierTemp, a = airTemp;
    int32_t status = 0;

    if (s > a && s > w) status = 2; // no insulation needed
    if (s < a && s < w) status = 3; // surface temperature unreachable
    if (s == a) status = 4;
    const bool carrierBelowAbsoluteZero = w < -273;
    if (a < -273) status = 8;
    if (status == 0 && !carrierBelowAbsoluteZero) thickness = SolveSurfaceTemp();
    // The limit of the material of this call, whether the solver ran or not.
    if (w > MaterialLaws[Bounded(materialIndex, MaterialCount)].upperLimit) status = 5;
    if (w < LowerLimit) status = 6;
    return status;
}

double T_calc::SolveSurfaceTemp() {
    SolverKind = 1;
    SelectOuterCoef();
    const double alpha = OuterCoef;
    const double w = CarrierTemp, s = SurfaceTemp, a = AirTemp;
    Lambda = Conductivity(WholeMean(CarrierTemp, SurfaceTemp));
    if (IsPipe) {
        const double d = PipeDiameter();
        RootTarget = 2 * Lambda * (w - s) / (alpha * d * (s - a));
        Thickness = RootTarget > 0 ? LayerForRatio(d, SolveCylinderRatio(RootTarget)) : 0;
    } else {
        Thickness = std::abs(w - s) * Lambda / (std::abs(s - a) * alpha);
    }
    return Thickness;
}

bool T_calc::SurfaceTempCheck::Met() const {
    return WithinLimit(std::abs(surfaceTemp - airTemp), std::abs(givenSurfaceTemp - airTemp));
}

T_calc::SurfaceTempCheck T_calc::CheckSurfaceTemp(double installed) const {
    // The surface resistance at the insulated diameter itself, as the method's ratio has it.
    const Resistances r = LayerToItsSurface(IsPipe, Lambda, OuterCoef, PipeDiameter(), installed);
    const double a = AirTemp;
    const double flux = (CarrierTemp - a) / r.total;
    return {a + flux * r.surface, double(SurfaceTemp), std::abs(flux), IsPipe, a};
}

// ---- Method 2: against condensation --------------------------------------------------------

int32_t T_calc::CalcAgainstCondensation(bool isPipe, bool nonMetalCover, int32_t airTemp,
                                        int32_t carrierTemp, int32_t humidity,
                                        int32_t diameterIndex, int32_t materialIndex,
                                        double& thickness) {
    IsPipe = isPipe;
    Indoors = true;
    NonMetalCover = nonMetalCover;
    AirTemp = airTemp;
    CarrierTemp = carrierTemp;
    Humidity = humidity;
    DiameterIndex = diameterIndex;
    MaterialIndex = materialIndex;
    int32_t status = 0;

    if (airTemp > 50 || airTemp < -40) status = 1;
    if (airTemp <= carrierTemp) status = 2; // no condensation possible
    // Saturated air has its dew point at the air temperature, and air without vapour has
    // none: no thickness exists for either.
    if (humidity <= 0 || humidity >= 100) status = 3;
    if (carrierTemp < LowerLimit) status = 6;
    if (status == 0) thickness = SolveCondensation();
    return status;
}

double T_calc::DewPointDepression(double humidity, double t) {
    // Saturation pressure E = k * (b + t/100)^n, over water from 0 C, over ice below.
    const bool water = t >= 0;
    const double k = water ? 288.58 : 4.688;
    const double b = water ? 1.098 : 1.486;
    const double n = water ? 8.02 : 12.3;
    const double saturation = k * std::exp(n * std::log(0.01 * t + b));
    const double vapour = saturation * humidity * 0.01;
    const double dewPoint = (std::exp(std::log(vapour / k) / n) - b) * 100;
    return t - dewPoint;
}

double T_calc::SolveCondensation() {
    SolverKind = 2;
    SelectOuterCoef();
    const double alpha = OuterCoef;
    const double depression = DewPointDepression(Humidity, AirTemp);
    // Half the difference of the two temperatures, not of their sum.
    Lambda = Conductivity(WholeMean(AirTemp, -int64_t{CarrierTemp}));
    const double ratio = (double(AirTemp) - CarrierTemp) / depression - 1;
    double x;
    if (IsPipe) {
        const double d = PipeDiameter();
        RootTarget = (2 * Lambda / (d * alpha)) * ratio;
        x = RootTarget > 0 ? LayerForRatio(d, SolveCylinderRatio(RootTarget)) : 0;
    } else {
        x = (Lambda / alpha) * ratio;
    }
    Thickness = std::max(x, 0.0); // dew point below the carrier: no insulation needed
    return Thickness;
}

bool T_calc::CondensationCheck::Met() const {
    return surfaceTemp >= dewPoint - 1e-9 * std::abs(dewPoint);
}

T_calc::CondensationCheck T_calc::CheckCondensation(double installed) const {
    const Resistances r = LayerToItsSurface(IsPipe, Lambda, OuterCoef, PipeDiameter(), installed);
    const double a = AirTemp;
    const double flux = (a - CarrierTemp) / r.total;
    return {a - flux * r.surface, a - DewPointDepression(Humidity, a), flux, IsPipe};
}

// ---- Method 3: two-pipe heat-network channel ----------------------------------------------

int32_t T_calc::CalcTwoPipeChannel(int32_t supplyTempIndex, double channelHeight,
                                   double channelWidth, double groundLambda, double channelDepth,
                                   int32_t groundTemp, int32_t diameterIndex, int32_t materialIndex,
                                   double& thickness) {
    thickness = 0.005; // a non-zero mark: still worth solving
    IsPipe = true;
    Indoors = true;
    static constexpr int32_t SupplyTemps[] = {65, 90, 110};
    if (supplyTempIndex >= 0 && supplyTempIndex <= 2) SupplyTemp = SupplyTemps[supplyTempIndex];
    ChannelHeight = channelHeight;
    ChannelWidth = channelWidth;
    GroundLambda = groundLambda;
    ChannelDepth = channelDepth;
    GroundTemp = groundTemp;
    DiameterIndex = diameterIndex;
    MaterialIndex = materialIndex;
    int32_t status = 0;

    auto reject = [&](int32_t code) {
        status = code;
        thickness = 0;
    };
    if (channelHeight == 0) reject(4);
    if (channelWidth == 0) reject(3);
    if (!(channelDepth - channelHeight * 0.5 > 0)) reject(2); // reaches the ground surface
    if (groundLambda == 0) reject(1);
    if (groundTemp < -273) reject(7);
    if (thickness != 0) thickness = SolveTwoPipeChannel();

    // Both needs are computed before either is checked.
    const ChannelRoom needed = NeededChannel(thickness);
    if (status == 0) {
        if (needed.height > channelHeight) {
            if (ShowMessageBox)
                ShowMessageBox(std::string(ChannelTooLowText), std::string(ChannelTooSmallCaption));
            reject(6);
        }
        if (needed.width > channelWidth) reject(5);
    }
    return status;
}

T_calc::ChannelRoom T_calc::NeededChannel(double thickness) const {
    const int32_t diameter = OuterDiameterMm[Bounded(DiameterIndex, DiameterCount)];
    const ChannelGaps& gaps =
        *std::find_if(ChannelGapTable.begin(), ChannelGapTable.end() - 1,
                      [&](const ChannelGaps& g) { return g.upToDiameter >= diameter; });
    // Whole millimetres divided once: a bare pipe's room is then the very double that the
    // same metres typed give, and rounds up to no extra millimetre.
    return {(gaps.below + diameter + gaps.above) / 1000.0 + 2 * thickness,
            (2 * gaps.side + 2 * diameter + gaps.middle) / 1000.0 + 4 * thickness};
}

double T_calc::SoilResistance() const {
    const double h = ChannelHeight, b = ChannelWidth;
    return std::log(3.5 * ChannelDepth / h) * std::pow(h / b, 0.25) /
           ((b / h + 5.7) * GroundLambda);
}

double T_calc::ChannelWallResistance() const {
    const double h = ChannelHeight, b = ChannelWidth;
    return (h + b) / (2 * Pi * ChannelAirCoef * b * h);
}

double T_calc::SolveTwoPipeChannel() {
    SolverKind = 3;
    const double diameterMm = OuterDiameterMm[Bounded(DiameterIndex, DiameterCount)];
    const double d = 0.001 * diameterMm;
    const double t1 = SupplyTemp, t2 = ReturnTemp, tg = GroundTemp;

    const double qN = ChannelNormLoss();
    const double rc = SoilResistance() + ChannelWallResistance();
    const double k = diameterMm < 150 ? 1.2 : 1.15;
    const double tc = tg + k * qN * rc; // first estimate of the channel air

    const double lambda1 = Conductivity((t1 + tc) / 2);
    const double lambda2 = Conductivity((t2 + tc) / 2);
    Lambda = lambda2;
    const double q1 = qN * t2 / t1; // the supply pipe's share of the norm
    const double q2 = qN - q1;
    const double rs = InterpolateTable(18, t1 < 100 ? SurfaceResist : SurfaceResistHot,
                                       SurfaceResistAxis, diameterMm);
    const double e1 = 2 * Pi * lambda1 * ((t1 - tc) / q1 - rs);
    const double e2 = 2 * Pi * lambda2 * ((t2 - tc) / q2 - rs);

    double delta = 0;
    if (e1 > 0 || e2 > 0) {
        const double delta1 = e1 > 0 ? LayerForRatio(d, std::exp(e1)) : e1;
        const double delta2 = e2 > 0 ? LayerForRatio(d, std::exp(e2)) : e2;
        delta = delta1 > delta2 ? delta1 : delta2;

        // Correct delta by halving steps until the pair loses exactly its norm.
        for (double step = 0.01; step > 0.0001; step /= 2) {
            const double qc = CheckTwoPipeChannel(delta).pairLoss;
            if (qc > qN) delta += step;
            if (qc < qN) delta -= step;
            if (qc == qN) break;
            if (2 * delta + d <= 0) { // the insulated pipe would vanish
                delta = 0;
                break;
            }
        }
    }
    Thickness = delta;
    return Thickness;
}

double T_calc::ChannelNormLoss() const {
    const double diameterMm = OuterDiameterMm[Bounded(DiameterIndex, DiameterCount)];
    const int vector = (UpTo5000Hours ? 0 : 3) + (SupplyTemp == 65 ? 0 : SupplyTemp == 90 ? 1 : 2);
    return InterpolateTable(23, ChannelNorm[vector], ChannelNormAxis, diameterMm);
}

bool T_calc::ChannelCheck::Met() const {
    return WithinLimit(pairLoss, normLoss);
}

// The method's own loss of the pair at a thickness: the conductivity of the return pipe for
// both, the channel air from the balance of the two pipes and the ground.
T_calc::ChannelCheck T_calc::CheckTwoPipeChannel(double installed) const {
    const double d = PipeDiameter();
    const double t1 = SupplyTemp, t2 = ReturnTemp, tg = GroundTemp;
    const double rc = SoilResistance() + ChannelWallResistance();
    const double kc = d < 0.15 ? 1.2 : 1.15;
    const double outer = 2 * installed + d;
    const double ri = std::log(outer / d) / (2 * Pi * Lambda);
    const double ro = 1 / (ChannelAirCoef * 2 * Pi * outer);
    const double rp = ri + ro;
    const double air = (t1 / rp + t2 / rp + tg / rc) / (1 / rp + 1 / rp + 1 / rc);
    return {(air - tg) * kc / rc, ChannelNormLoss(), kc * (t1 - air) / rp, kc * (t2 - air) / rp,
            air};
}

// ---- Method 4: against freezing ---------------------------------------------------------

int32_t T_calc::CalcAgainstFreezing(int32_t airTemp, double wallThicknessMm,
                                    int32_t standstillHours, int32_t waterTemp,
                                    int32_t diameterIndex, int32_t materialIndex,
                                    int32_t layingIndex, double& thickness) {
    NonMetalCover = false;
    Indoors = false;
    IsPipe = true;
    thickness = 0.005; // a non-zero mark: still worth solving
    AirTemp = airTemp;
    WallThickness = wallThicknessMm * 0.001;
    StandstillHours = standstillHours;
    WaterTemp = waterTemp;
    DiameterIndex = diameterIndex;
    MaterialIndex = materialIndex;
    LossCoef = LossCoefTable[Bounded(layingIndex, LayingCount)];
    int32_t status = 0;

    auto reject = [&](int32_t code) {
        status = code;
        thickness = 0;
    };
    if (waterTemp < 0) status = 6; // warning; the calculation still runs
    if (standstillHours == 0) reject(3);
    if (wallThicknessMm == 0) reject(2);
    if (airTemp >= 0) reject(1); // no frost, no freezing
    if (airTemp < -273) reject(7);
    if (thickness != 0) thickness = SolveFreezing();
    if (thickness > 1.0) status = 5; // warning: very thick
    if (thickness < 0) status = 4;   // the water freezes whatever the insulation
    return status;
}

double T_calc::FreezingResistance() const {
    const double numerator = StandstillHours * 3.6 * LossCoef;
    const double denominator = FreezingHeatBalance();
    // With nothing to release heat through the standstill, no resistance keeps the water.
    if (denominator == 0) return 0;
    return numerator / denominator;
}

// The heat that the water and the steel give up until the allowed part freezes, per degree
// of the standstill's mean difference; 0 where the temperatures leave nothing to release.
double T_calc::FreezingHeatBalance() const {
    const double d = PipeDiameter();
    const double inner = d - WallThickness;
    const double steel = (d * d - inner * inner) * QuarterPi;
    const double water = inner * Pi * inner * 0.25;
    const double capacity = water * WaterDensity * WaterHeat + steel * SteelDensity * SteelHeat;
    const double freezing = 0.25 * water * WaterDensity * FreezingHeat;
    const int64_t twiceWater = 2 * int64_t{WaterTemp};
    const int64_t spread = WaterTemp - 2 * int64_t{AirTemp};
    if (spread == 0) return 0;
    return capacity * double(twiceWater) / double(spread) + freezing / -double(AirTemp);
}

double T_calc::SolveFreezing() {
    IsPipe = true;
    Indoors = false;
    SolverKind = 5;
    SelectOuterCoef();
    const double alpha = OuterCoef;
    Lambda = Conductivity(WholeMean(AirTemp, WaterTemp));
    const double d = PipeDiameter();
    const double r = FreezingResistance();
    RootTarget = std::exp(LogRatioForResistance(Lambda, r, alpha, d));
    Thickness = LayerForRatio(d, RootTarget);
    return Thickness;
}

bool T_calc::FreezingCheck::Met() const {
    return WithinLimit(givenHours, hours);
}

T_calc::FreezingCheck T_calc::CheckFreezing(double installed) const {
    const double d = PipeDiameter();
    const double resistance = PipeLayer(Lambda, OuterCoef, d, installed, d + 0.1).total;
    return {resistance * FreezingHeatBalance() / (3.6 * LossCoef), double(StandstillHours)};
}
