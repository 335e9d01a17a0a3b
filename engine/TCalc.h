// The calculation engine: the state of one calculation, the norm tables, material
// laws and coefficients, and the five methods that find an insulation thickness.
// Plain C++: no toolkit, no files, no clock.
#pragma once

#include "TCalcMaterials.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class T_calc {
public:
    // The engine's only message (a channel too low for its pipes) goes through this;
    // the owner decides how to show it. Texts are UTF-8.
    using MessageBoxFn = std::function<void(const std::string& text, const std::string& caption)>;
    // The box that the channel method shows itself when the channel is too low; the calculate
    // command shows the same text again for the status.
    static constexpr std::string_view ChannelTooLowText = "Высота канала недостаточна";
    static constexpr std::string_view ChannelTooSmallCaption = "Скорректируйте входные данные";

    T_calc();
    void Reset();

    // The entries. Each stores its arguments in the fields below, checks them, solves
    // and returns a status (0 = success); the thickness comes back in metres.
    int32_t CalcByNormFlux(bool isPipe, bool upTo5000Hours, bool indoors, bool nonMetalCover,
                           int32_t airTemp, int32_t carrierTemp, int32_t diameterIndex,
                           int32_t regionIndex, int32_t locationIndex, int32_t materialIndex,
                           double& normFlux, double& thickness);
    int32_t CalcBySurfaceTemp(bool isPipe, bool indoors, bool nonMetalCover, int32_t airTemp,
                              int32_t carrierTemp, int32_t surfaceTemp, int32_t diameterIndex,
                              int32_t materialIndex, double& thickness);
    int32_t CalcAgainstCondensation(bool isPipe, bool nonMetalCover, int32_t airTemp,
                                    int32_t carrierTemp, int32_t humidity, int32_t diameterIndex,
                                    int32_t materialIndex, double& thickness);
    int32_t CalcTwoPipeChannel(int32_t supplyTempIndex, double channelHeight, double channelWidth,
                               double groundLambda, double channelDepth, int32_t groundTemp,
                               int32_t diameterIndex, int32_t materialIndex, double& thickness);
    int32_t CalcAgainstFreezing(int32_t airTemp, double wallThicknessMm, int32_t standstillHours,
                                int32_t waterTemp, int32_t diameterIndex, int32_t materialIndex,
                                int32_t layingIndex, double& thickness);

    // Metres to the whole millimetres shown, in steps of 10 mm.
    int32_t RoundThickness(double thickness) const;
    // Up to this many millimetres of product thickness above a step is rounded down, as the
    // norm allows where the requirement is a heat flux or a surface temperature.
    static constexpr double RoundingDownMm = 3;

    // ---- Checks at a given installed thickness (metres) ----------------------------------
    // What an insulation layer gives, computed from what the kind's entry left in the
    // fields: the same laws, outer coefficient, conductivity and adjusted temperatures as its
    // method, so that at the method's own thickness each check gives back the method's
    // target. Meaningful only after a successful call of that kind's entry.
    struct NormFluxCheck {
        double flux;        // W/m of pipe, or W/m2 where the norm is per square metre
        double allowedFlux; // the regional coefficient times the norm: the method's target
        double surfaceTemp; // C
        bool perMetre;
        double normFlux;   // the norm of the table, before the regional coefficient
        double regionCoef; // K
        bool Met() const;
    };
    struct SurfaceTempCheck {
        double surfaceTemp;      // C
        double givenSurfaceTemp; // C
        double flux;             // W/m of pipe or W/m2 of plane, whichever way it flows
        bool perMetre;
        double airTemp;
        bool Met() const; // the surface no further from the air than the given temperature
    };
    struct CondensationCheck {
        double surfaceTemp; // C
        double dewPoint;    // C
        double flux;        // W/m of pipe or W/m2 of plane, into the cold carrier
        bool perMetre;
        bool Met() const;
    };
    struct ChannelCheck {
        double pairLoss;   // W/m: both pipes, with the supports coefficient, as the method counts
        double normLoss;   // W/m: the norm of the pair
        double supplyLoss; // W/m, with the supports coefficient
        double returnLoss; // W/m, with the supports coefficient
        double channelAir; // C
        bool Met() const;
    };
    struct FreezingCheck {
        double hours;      // until the allowed part of the water freezes
        double givenHours; // the standstill to withstand
        bool Met() const;
    };
    NormFluxCheck CheckNormFlux(double installed) const;
    SurfaceTempCheck CheckSurfaceTemp(double installed) const;
    CondensationCheck CheckCondensation(double installed) const;
    ChannelCheck CheckTwoPipeChannel(double installed) const;
    FreezingCheck CheckFreezing(double installed) const;

    // The installed thickness (metres) of a product thickness in millimetres, and back: the
    // settling that RoundThickness applies, without its rounding.
    double InstalledThickness(int32_t productMm) const;
    double ProductMillimetres(double installed) const;
    // The smallest product thickness above `fromMm`, in its steps of 10 mm, for which
    // `meets` holds, searched on the understanding that a thicker layer never does worse;
    // none up to `largestMm`.
    static std::optional<int32_t>
    SmallestMeetingThickness(int32_t fromMm, int32_t largestMm,
                             const std::function<bool(int32_t)>& meets);

    // The height and width (m) of a channel that holds both pipes with a layer of `thickness`
    // (m) and the gaps around them.
    struct ChannelRoom {
        double height, width;
    };
    ChannelRoom NeededChannel(double thickness) const;

    // Shared operations of the solvers.
    double Conductivity(double t);
    void SelectOuterCoef();
    double SolveCylinderRatio(double b);
    void LookupNormFlux();
    static double InterpolatePipeNorm(std::span<const int32_t> table, int rows, int cols,
                                      std::span<const int32_t> diameterAxis,
                                      std::span<const int32_t> tempAxis, double diameter,
                                      double temp);
    static double InterpolateTable(int n, std::span<const double> values,
                                   std::span<const int32_t> axis, double x);
    static double DewPointDepression(double humidity, double t);
    double SoilResistance() const;
    double ChannelWallResistance() const;
    double FreezingResistance() const;

    // Table sizes that callers index by.
    static constexpr int32_t DiameterCount = 22;
    static constexpr int32_t MaterialCount = int32_t(std::size(tcalc_tables::MaterialLaws));
    static constexpr int32_t RegionCount = 6;
    static constexpr int32_t LayingCount = 7;
    static std::span<const int32_t, DiameterCount> OuterDiametersMm();

    // State; the order and the types are those of the engine's documentation. Fields
    // without a Reset value ("kept") start at 0 and are never reset.
    double RootLow = 0;
    double RootHigh = 0;
    double RootTarget = 0;
    int32_t SolverKind = 0;
    double Lambda = 0;
    double Thickness = 0;
    double NormFlux = 0;
    bool UpTo5000Hours = true;
    int32_t GroundTemp = 0;
    double GroundLambda = 0;
    double ChannelDepth = 0;
    double ChannelHeight = 0;
    double ChannelWidth = 0;
    int32_t SupplyTemp = 0;
    int32_t ReturnTemp = 0;
    double RegionCoef = 0;
    double OuterCoef = 0;
    double UpperLimit = 0;
    double LowerLimit = 0;
    double LossCoef = 0;
    int32_t MaterialIndex = 0;
    int32_t WaterTemp = 0;
    int32_t StandstillHours = 0;
    double WallThickness = 0;
    bool IsPipe = true;
    bool Indoors = false;
    bool NonMetalCover = false;
    int32_t AirTemp = 0;
    int32_t CarrierTemp = 0;
    int32_t SurfaceTemp = 0;
    int32_t DiameterIndex = 0;
    double Humidity = 0;

    MessageBoxFn ShowMessageBox;

private:
    double SolveNormFlux();
    double SolveSurfaceTemp();
    double SolveCondensation();
    double SolveTwoPipeChannel();
    double SolveFreezing();
    double PipeDiameter() const;
    bool NormPerMetre() const;
    double ChannelNormLoss() const;
    double FreezingHeatBalance() const;
};
