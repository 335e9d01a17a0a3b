#include "TCalc.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double Pi = 3.141592653589793;

// clang-format off

// ---- Diameters (mm), by diameter index ----------------------------------------------

constexpr std::array<int32_t, T_calc::DiameterCount> OuterDiameterMm = {
    18, 25, 32, 45, 57, 76, 89, 108, 133, 159, 219, 273, 325, 377, 426, 476, 530, 630, 720, 820, 920, 1020};

// Diameter axis of the pipe norm tables; the 23rd point closes the axis and has no index.
constexpr std::array<int32_t, 23> NominalBoreMm = {
    15, 20, 25, 40, 50, 65, 80, 100, 125, 150, 200, 250, 300, 350, 400, 450, 500, 600, 700, 800, 900, 1000, 1400};

// ---- Materials: lambda(t) = a + b*t + c*t*t, W/(m*K); highest carrier temperature, C;
// the product thickness per installed thickness (stitched mats settle under their cover) --

struct MaterialLaw {
    double a, b, c;
    double upperLimit;
    double settling;
};

constexpr MaterialLaw MaterialLaws[] = {
    //  a       b         c          limit  settling
    {0.035,  0.00007, 0.0000004, 750,   1.2},  // 0 stitched mat ZORBALIT-80
    {0.034,  0.00008, 0.0000004, 750,   1.2},  // 1 stitched mat ZORBALIT-100
    {0.046,  0,       0,         700,   1.2},  // 2 stitched mat M1-75
    {0.033,  0.0001,  0.0000002, 700,   1.2},  // 3 stitched mat M1-100
    {0.0348, 0.00006, 0.0000004, 650,   1},    // 4 cylinder ZORBALIT-80
    {0.0348, 0.00006, 0.0000004, 650,   1},    // 5 cylinder ZORBALIT-100
    {0.037,  0.0002,  0,         250,   1},    // 6 lamellar mat
};
static_assert(std::size(MaterialLaws) == T_calc::MaterialCount);

// ---- Heat-transfer coefficient of the insulation surface, W/(m2*K) --------------------

// Columns: indoors metal, indoors non-metal, open air metal, open air non-metal.
constexpr int32_t OuterCoefTable[6][4] = {
    {6, 11,  6, 11},  // 0 method 1, flat surface, surface above 19 C
    {7, 12, 35, 35},  // 1 methods 0, 2, 4, flat surface, surface above 19 C
    {6, 10,  6, 10},  // 2 method 1, pipe, surface above 19 C
    {6, 11, 29, 29},  // 3 methods 0, 2, 4, pipe, surface above 19 C
    {5,  7,  0,  0},  // 4 method 2, surface 19 C or below (open-air columns never used)
    {6, 11, 29, 29},  // 5 every other case, surface 19 C or below
};
constexpr double ChannelAirCoef = 11;  // channel air to insulation and to channel walls

// ---- Norm density of heat flux (method 0) ----------------------------------------------

constexpr std::array<int32_t, 13> HotOpenAirTemps = {20, 50, 100, 150, 200, 250, 300, 350, 400, 450, 500, 550, 600};
constexpr std::array<int32_t, 12> HotIndoorTemps = {50, 100, 150, 200, 250, 300, 350, 400, 450, 500, 550, 600};
constexpr std::array<int32_t, 11> ColdTemps = {0, -10, -20, -40, -60, -80, -100, -120, -140, -160, -180};

// Pipe tables, W/m: one row per nominal bore, comment "bore (outer diameter)", mm.
constexpr int32_t PipeNormOpenShort[23][13] = {
    {   4,   10,   18,   28,   38,   49,   61,   74,   87,  102,  117,  133,  150},  // 15 (18)
    {   5,   11,   21,   31,   42,   54,   67,   81,   96,  112,  128,  146,  164},  // 20 (25)
    {   5,   12,   23,   34,   46,   59,   73,   88,  104,  120,  138,  157,  176},  // 25 (32)
    {   6,   14,   26,   39,   52,   67,   82,   99,  116,  135,  154,  174,  196},  // 40 (45)
    {   7,   16,   29,   43,   57,   73,   90,  107,  126,  146,  167,  189,  212},  // 50 (57)
    {   8,   18,   33,   48,   65,   82,  100,  120,  141,  162,  185,  209,  234},  // 65 (76)
    {   9,   20,   36,   52,   69,   88,  107,  128,  150,  172,  197,  222,  248},  // 80 (89)
    {  10,   22,   39,   57,   76,   96,  116,  139,  162,  187,  212,  239,  267},  // 100 (108)
    {  12,   25,   44,   63,   84,  113,  137,  162,  189,  216,  245,  276,  307},  // 125 (133)
    {  13,   27,   48,   70,   92,  123,  149,  176,  205,  235,  266,  298,  332},  // 150 (159)
    {  16,   34,   59,   83,  109,  146,  176,  207,  240,  274,  310,  347,  385},  // 200 (219)
    {  19,   39,   67,   95,  124,  166,  199,  234,  270,  307,  346,  387,  429},  // 250 (273)
    {  22,   44,   76,  106,  138,  184,  220,  258,  297,  338,  380,  424,  469},  // 300 (325)
    {  27,   54,   92,  128,  164,  202,  241,  282,  324,  368,  413,  460,  508},  // 350 (377)
    {  30,   60,  100,  139,  178,  219,  260,  304,  349,  395,  443,  493,  544},  // 400 (426)
    {  33,   65,  109,  150,  192,  235,  280,  326,  373,  422,  473,  526,  580},  // 450 (476)
    {  36,   71,  118,  162,  207,  253,  300,  349,  399,  451,  505,  561,  618},  // 500 (530)
    {  42,   82,  135,  185,  235,  285,  338,  391,  447,  504,  563,  624,  686},  // 600 (630)
    {  47,   91,  150,  204,  259,  314,  371,  429,  489,  551,  614,  679,  746},  // 700 (720)
    {  53,  102,  166,  226,  286,  346,  407,  470,  535,  602,  670,  740,  812},  // 800 (820)
    {  59,  112,  183,  248,  312,  377,  443,  511,  581,  652,  725,  800,  877},  // 900 (920)
    {  64,  123,  199,  269,  339,  408,  479,  552,  626,  702,  780,  860,  941},  // 1000 (1020)
    {  87,  165,  264,  355,  444,  532,  621,  712,  804,  898,  995, 1092, 1193},  // 1400 (–)
};
constexpr int32_t PipeNormOpenLong[23][13] = {
    {   4,    9,   17,   25,   35,   45,   56,   68,   81,   94,  109,  124,  140},  // 15 (18)
    {   4,   10,   19,   28,   39,   50,   62,   75,   89,  103,  119,  135,  152},  // 20 (25)
    {   5,   11,   20,   31,   42,   54,   67,   81,   95,  111,  128,  145,  163},  // 25 (32)
    {   5,   12,   23,   35,   47,   60,   75,   90,  106,  123,  142,  161,  181},  // 40 (45)
    {   6,   14,   26,   38,   51,   66,   81,   98,  115,  133,  153,  173,  195},  // 50 (57)
    {   7,   16,   29,   43,   58,   74,   90,  108,  127,  147,  169,  191,  214},  // 65 (76)
    {   8,   17,   31,   46,   62,   78,   96,  115,  135,  156,  179,  202,  226},  // 80 (89)
    {   9,   19,   34,   50,   67,   85,  104,  124,  146,  168,  192,  217,  243},  // 100 (108)
    {  10,   21,   38,   55,   74,   93,  114,  136,  159,  183,  208,  235,  263},  // 125 (133)
    {  11,   23,   42,   61,   80,  101,  132,  156,  182,  209,  238,  267,  298},  // 150 (159)
    {  14,   28,   50,   72,   95,  119,  154,  182,  212,  242,  274,  308,  343},  // 200 (219)
    {  16,   33,   57,   82,  107,  133,  173,  204,  236,  270,  305,  342,  380},  // 250 (273)
    {  18,   39,   67,   95,  124,  153,  191,  224,  259,  296,  333,  373,  414},  // 300 (325)
    {  22,   45,   77,  108,  140,  173,  208,  244,  281,  320,  361,  403,  446},  // 350 (377)
    {  25,   49,   84,  117,  152,  187,  223,  262,  301,  343,  385,  430,  476},  // 400 (426)
    {  27,   54,   91,  127,  163,  200,  239,  280,  322,  365,  410,  457,  505},  // 450 (476)
    {  30,   58,   98,  136,  175,  215,  256,  299,  343,  389,  436,  486,  537},  // 500 (530)
    {  34,   67,  112,  154,  197,  241,  286,  333,  382,  432,  484,  537,  593},  // 600 (630)
    {  38,   75,  124,  170,  217,  264,  313,  364,  416,  470,  526,  583,  642},  // 700 (720)
    {  43,   83,  137,  188,  238,  290,  343,  397,  453,  511,  571,  633,  696},  // 800 (820)
    {  47,   91,  150,  205,  259,  315,  372,  430,  490,  552,  616,  681,  749},  // 900 (920)
    {  52,  100,  163,  222,  281,  340,  400,  463,  527,  592,  660,  729,  801},  // 1000 (1020)
    {  70,  133,  215,  291,  364,  439,  514,  591,  670,  750,  833,  918, 1098},  // 1400 (–)
};
constexpr int32_t PipeNormIndoorShort[23][12] = {
    {   6,   16,   25,   35,   46,   58,   71,   85,   99,  114,  130,  147},  // 15 (18)
    {   7,   18,   28,   40,   52,   65,   79,   93,  109,  126,  143,  161},  // 20 (25)
    {   8,   20,   31,   43,   56,   70,   85,  101,  118,  136,  154,  174},  // 25 (32)
    {  10,   23,   36,   49,   64,   80,   96,  114,  132,  152,  172,  194},  // 40 (45)
    {  11,   25,   40,   54,   70,   87,  105,  124,  144,  165,  187,  210},  // 50 (57)
    {  13,   29,   45,   62,   79,   98,  118,  139,  161,  184,  208,  233},  // 65 (76)
    {  14,   32,   49,   66,   85,  105,  126,  148,  171,  195,  221,  247},  // 80 (89)
    {  16,   35,   54,   73,   93,  115,  137,  161,  186,  212,  239,  267},  // 100 (108)
    {  18,   39,   60,   81,  103,  126,  151,  176,  203,  231,  261,  291},  // 125 (133)
    {  21,   44,   66,   89,  113,  138,  164,  192,  221,  251,  282,  315},  // 150 (159)
    {  26,   53,   80,  107,  134,  163,  194,  225,  258,  292,  328,  365},  // 200 (219)
    {  30,   62,   92,  122,  153,  185,  218,  253,  290,  327,  366,  407},  // 250 (273)
    {  34,   70,  103,  136,  170,  205,  241,  279,  319,  359,  402,  446},  // 300 (325)
    {  38,   77,  113,  149,  186,  224,  263,  304,  347,  391,  436,  483},  // 350 (377)
    {  42,   85,  123,  162,  201,  242,  284,  328,  373,  419,  467,  517},  // 400 (426)
    {  46,   92,  134,  175,  217,  260,  305,  351,  398,  448,  498,  551},  // 450 (476)
    {  51,  100,  144,  189,  233,  279,  327,  375,  426,  478,  532,  587},  // 500 (530)
    {  58,  114,  164,  214,  263,  314,  367,  420,  476,  533,  592,  652},  // 600 (630)
    {  65,  127,  182,  236,  290,  345,  402,  460,  520,  582,  645,  710},  // 700 (720)
    {  73,  141,  202,  261,  320,  379,  441,  504,  568,  635,  703,  772},  // 800 (820)
    {  81,  156,  221,  285,  349,  413,  479,  547,  616,  687,  760,  834},  // 900 (920)
    {  89,  170,  241,  309,  378,  447,  518,  590,  663,  739,  816,  896},  // 1000 (1020)
    { 120,  226,  318,  406,  492,  580,  668,  758,  850,  943, 1038, 1136},  // 1400 (–)
};
constexpr int32_t PipeNormIndoorLong[23][12] = {
    {   6,   14,   23,   33,   43,   54,   66,   79,   93,  107,  122,  138},  // 15 (18)
    {   7,   16,   26,   37,   48,   60,   73,   87,  102,  117,  134,  151},  // 20 (25)
    {   8,   18,   28,   40,   52,   65,   79,   94,  110,  126,  144,  162},  // 25 (32)
    {   9,   21,   32,   45,   59,   73,   89,  105,  122,  141,  160,  180},  // 40 (45)
    {  10,   23,   36,   50,   64,   80,   96,  114,  133,  152,  173,  194},  // 50 (57)
    {  12,   26,   41,   56,   72,   89,  107,  127,  147,  169,  191,  214},  // 65 (76)
    {  13,   28,   44,   60,   77,   95,  114,  135,  156,  179,  202,  227},  // 80 (89)
    {  14,   31,   48,   65,   84,  103,  124,  146,  169,  193,  218,  244},  // 100 (108)
    {  16,   35,   53,   72,   92,  113,  136,  159,  184,  210,  237,  265},  // 125 (133)
    {  18,   38,   58,   79,  100,  123,  147,  172,  199,  226,  255,  285},  // 150 (159)
    {  22,   46,   70,   93,  118,  144,  172,  200,  230,  262,  294,  328},  // 200 (219)
    {  26,   53,   79,  106,  134,  162,  193,  224,  257,  291,  327,  364},  // 250 (273)
    {  29,   60,   88,  118,  148,  179,  212,  246,  281,  318,  357,  396},  // 300 (325)
    {  33,   66,   97,  129,  161,  195,  230,  267,  305,  344,  385,  428},  // 350 (377)
    {  36,   72,  106,  139,  174,  210,  247,  286,  326,  368,  411,  456},  // 400 (426)
    {  39,   78,  114,  150,  187,  225,  264,  305,  348,  392,  437,  484},  // 450 (476)
    {  43,   84,  123,  161,  200,  241,  282,  326,  370,  417,  465,  514},  // 500 (530)
    {  49,   96,  139,  181,  225,  269,  315,  363,  412,  462,  515,  569},  // 600 (630)
    {  55,  107,  153,  200,  247,  295,  344,  395,  448,  502,  558,  616},  // 700 (720)
    {  61,  118,  169,  220,  270,  322,  376,  431,  487,  546,  606,  668},  // 800 (820)
    {  67,  130,  185,  239,  294,  350,  407,  466,  527,  589,  653,  718},  // 900 (920)
    {  74,  141,  201,  259,  318,  377,  438,  501,  565,  631,  699,  768},  // 1000 (1020)
    {  99,  187,  263,  337,  411,  485,  561,  638,  716,  797,  880,  964},  // 1400 (–)
};
// The cold tables begin one pipe later: row r serves diameter index r + 1.
constexpr int32_t PipeNormColdOpen[16][11] = {
    {   3,    3,    4,    6,    7,    9,   10,   12,   14,   16,   17},  // 20 (25)
    {   3,    4,    5,    6,    8,    9,   11,   12,   15,   17,   18},  // 25 (32)
    {   4,    5,    5,    7,    9,   10,   12,   13,   16,   18,   19},  // 40 (45)
    {   5,    5,    6,    8,   10,   11,   13,   14,   16,   19,   20},  // 50 (57)
    {   6,    6,    7,    9,   11,   13,   14,   16,   18,   20,   21},  // 65 (76)
    {   6,    6,    8,   10,   12,   14,   15,   17,   19,   21,   22},  // 80 (89)
    {   7,    7,    9,   11,   13,   15,   17,   18,   20,   22,   23},  // 100 (108)
    {   8,    8,    9,   12,   14,   16,   18,   20,   21,   24,   25},  // 125 (133)
    {   8,    9,   10,   13,   15,   17,   19,   21,   23,   26,   27},  // 150 (159)
    {  10,   10,   12,   16,   18,   20,   23,   25,   27,   29,   31},  // 200 (219)
    {  11,   12,   14,   18,   20,   23,   26,   27,   31,   33,   35},  // 250 (273)
    {  12,   13,   16,   20,   22,   25,   28,   30,   34,   36,   38},  // 300 (325)
    {  14,   15,   18,   22,   24,   27,   30,   33,   36,   38,   41},  // 350 (377)
    {  16,   16,   20,   23,   26,   29,   32,   34,   38,   40,   43},  // 400 (426)
    {  17,   18,   21,   26,   28,   31,   34,   37,   39,   42,   45},  // 450 (476)
    {  19,   21,   23,   27,   30,   33,   36,   38,   41,   44,   46},  // 500 (530)
};
// 32 mm at -20 C reads 7 W/m: the source's 1 is a misprint between 7 and 8 along the row
// and 6 and 8 down the column, and would give a thickness many times too large.
constexpr int32_t PipeNormColdIndoor[16][11] = {
    {   5,    6,    6,    7,    9,   10,   12,   14,   15,   16,   18},  // 20 (25)
    {   6,    7,    7,    8,   10,   11,   12,   14,   16,   17,   20},  // 25 (32)
    {   7,    7,    8,    9,   11,   12,   13,   16,   17,   19,   21},  // 40 (45)
    {   7,    8,    9,   10,   12,   13,   14,   17,   19,   20,   22},  // 50 (57)
    {   8,    9,    9,   11,   13,   14,   16,   18,   20,   21,   23},  // 65 (76)
    {   9,    9,   10,   12,   13,   15,   17,   19,   20,   22,   24},  // 80 (89)
    {  10,   10,   11,   13,   14,   16,   18,   20,   21,   23,   25},  // 100 (108)
    {  11,   11,   12,   14,   16,   18,   20,   21,   23,   26,   27},  // 125 (133)
    {  12,   13,   13,   16,   17,   20,   21,   23,   25,   27,   30},  // 150 (159)
    {  15,   16,   16,   19,   21,   23,   25,   27,   30,   31,   34},  // 200 (219)
    {  16,   17,   19,   20,   23,   26,   27,   30,   33,   36,   38},  // 250 (273)
    {  19,   20,   21,   23,   26,   29,   31,   34,   37,   39,   41},  // 300 (325)
    {  21,   22,   23,   26,   29,   32,   34,   36,   38,   41,   44},  // 350 (377)
    {  23,   24,   26,   28,   30,   34,   36,   38,   41,   44,   46},  // 400 (426)
    {  25,   27,   28,   30,   33,   35,   37,   40,   42,   45,   48},  // 450 (476)
    {  28,   29,   30,   33,   35,   37,   40,   42,   45,   47,   49},  // 500 (530)
};

// Flat-surface tables, W/m2, on the same axes.
constexpr std::array<double, 13> PlaneNormOpenShort = {19, 35, 54, 70, 85, 99, 112, 125, 141, 158, 174, 191, 205};
constexpr std::array<double, 13> PlaneNormOpenLong = {15, 27, 41, 54, 66, 77, 89, 100, 110, 134, 153, 174, 192};
constexpr std::array<double, 12> PlaneNormIndoorShort = {26, 46, 63, 78, 92, 105, 119, 132, 145, 158, 171, 190};
constexpr std::array<double, 12> PlaneNormIndoorLong = {23, 41, 56, 69, 82, 94, 106, 118, 130, 141, 153, 165};
constexpr std::array<double, 11> PlaneNormColdIndoor = {11, 12, 12, 13, 13, 14, 15, 15, 16, 17, 17};
constexpr std::array<double, 11> PlaneNormColdOpen = PlaneNormColdIndoor;

// Regional coefficient K by region (rows) and location (column 0 open air, 1 indoors).
constexpr double RegionCoefTable[T_calc::RegionCount][4] = {
    {1.0,  1.0,  1.0,  1.0},   // 0 European regions
    {0.98, 0.98, 0.95, 0.94},  // 1 West Siberia
    {0.98, 0.98, 0.95, 0.94},  // 2 Far East
    {0.98, 0.98, 0.95, 0.94},  // 3 Urals
    {0.96, 0.96, 0.92, 0.9},   // 4 East Siberia
    {0.96, 0.96, 0.92, 0.9},   // 5 Far North
};

// ---- Two-pipe heat-network channel (method 3) -------------------------------------------

// Norm of the pair of pipes, W/m, by outer diameter (mm); return pipe at 50 C.
// Columns: up to 5000 h at 65, 90, 110 C; over 5000 h at 65, 90, 110 C.
constexpr int32_t ChannelNormRows[23][7] = {
    {  25,   21,   26,   31,   19,   24,   28},
    {  32,   24,   29,   33,   21,   26,   30},
    {  40,   25,   31,   35,   22,   28,   32},
    {  50,   29,   34,   39,   25,   30,   35},
    {  65,   32,   39,   45,   29,   35,   40},
    {  80,   35,   42,   48,   31,   37,   43},
    { 100,   39,   47,   53,   34,   40,   46},
    { 125,   44,   53,   60,   39,   46,   52},
    { 150,   49,   59,   66,   42,   50,   57},
    { 200,   60,   71,   81,   52,   61,   70},
    { 250,   71,   83,   94,   60,   71,   80},
    { 300,   81,   94,  105,   67,   79,   90},
    { 350,   89,  105,  118,   75,   88,   99},
    { 400,   98,  115,  128,   81,   96,  108},
    { 450,  107,  125,  140,   89,  104,  117},
    { 500,  118,  137,  152,   96,  113,  127},
    { 600,  134,  156,  174,  111,  129,  145},
    { 700,  151,  175,  194,  123,  144,  160},
    { 800,  168,  195,  216,  137,  160,  177},
    { 900,  186,  216,  239,  151,  176,  197},
    {1000,  203,  234,  261,  166,  192,  212},
    {1200,  239,  277,  305,  195,  225,  250},
    {1400,  273,  316,  349,  221,  256,  283},
};

constexpr std::array<int32_t, 23> ChannelNormAxis = [] {
    std::array<int32_t, 23> axis{};
    for (size_t i = 0; i < axis.size(); ++i) axis[i] = ChannelNormRows[i][0];
    return axis;
}();

constexpr std::array<std::array<double, 23>, 6> ChannelNorm = [] {
    std::array<std::array<double, 23>, 6> vectors{};
    for (size_t v = 0; v < vectors.size(); ++v)
        for (size_t i = 0; i < 23; ++i) vectors[v][i] = ChannelNormRows[i][v + 1];
    return vectors;
}();

// Resistance of the insulation surface, m*K/W, by outer diameter (mm):
// below 100 C supply, and 100 C and above.
constexpr std::array<int32_t, 18> SurfaceResistAxis = {
    32, 40, 50, 100, 125, 150, 200, 250, 300, 350, 400, 500, 600, 700, 800, 900, 1000, 2000};
constexpr std::array<double, 18> SurfaceResist = {
    0.5, 0.45, 0.4, 0.25, 0.21, 0.18, 0.16, 0.13, 0.11, 0.1, 0.09, 0.075, 0.062, 0.055, 0.048, 0.044, 0.04, 0.022};
constexpr std::array<double, 18> SurfaceResistHot = {
    0.495, 0.445, 0.395, 0.248, 0.209, 0.179, 0.159, 0.129, 0.109, 0.0993, 0.0893, 0.0747, 0.0618, 0.0549, 0.0479, 0.0439, 0.0399, 0.0219};

// Gaps around the insulated pipes in the channel, mm; the band is the first row whose
// bound is at least the outer diameter.
struct ChannelGaps {
    int32_t upToDiameter, side, middle, below, above;
};
constexpr std::array<ChannelGaps, 7> ChannelGapTable = {{
    // up to  side  middle  vertical 1  vertical 2
    {   70,    70,   100,      50,        100},
    {  250,    80,   140,      50,        150},
    {  350,   100,   160,      70,        150},
    {  400,   100,   200,      70,        180},
    {  700,   110,   200,     100,        180},
    {  800,   120,   250,     100,        200},
    { 1400,   120,   250,     100,        300},
}};

// ---- Freezing of water (method 4) -------------------------------------------------------

// Coefficient of additional heat losses by the way the pipeline is laid.
constexpr std::array<double, T_calc::LayingCount> LossCoefTable = {
    1.2,   // 0 steel, sliding supports, up to 150 mm
    1.15,  // 1 steel, sliding supports, 150 mm and more
    1.05,  // 2 steel, hanging supports
    1.7,   // 3 non-metal, sliding and hanging supports
    1.2,   // 4 non-metal, insulated together with the base
    2.0,   // 5 non-metal, in a group on a solid deck
    1.15,  // 6 without a channel
};

constexpr double WaterDensity = 1000;    // kg/m3
constexpr double WaterHeat = 4.1868;     // kJ/(kg*K)
constexpr double SteelDensity = 7860;    // kg/m3
constexpr double SteelHeat = 0.46;       // kJ/(kg*K)
constexpr double FreezingHeat = 333;     // kJ/kg
constexpr double QuarterPi = 0.7853981633974483;

// clang-format on

// ---- Helpers ----------------------------------------------------------------------------

// The engine trusts its callers with the indices, but never reads outside a table.
int32_t Bounded(int32_t index, int32_t count) {
    return std::clamp(index, 0, count - 1);
}

// Mean of two whole-degree temperatures, halved with truncation toward zero.
double WholeMean(int64_t a, int64_t b) {
    return static_cast<double>((a + b) / 2);
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
    DiameterIndex = 0;
    Humidity = 55;
}

std::span<const int32_t, T_calc::DiameterCount> T_calc::OuterDiametersMm() {
    return OuterDiameterMm;
}

double T_calc::PipeDiameter() const {
    return 0.001 * OuterDiameterMm[Bounded(DiameterIndex, DiameterCount)];
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
    const double mm = (cm - std::floor(cm)) * 10 > 3 ? 10 * std::ceil(cm) : 10 * std::floor(cm);
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
    const bool pipeNorm =
        IsPipe && (CarrierTemp > 0 || Bounded(DiameterIndex, DiameterCount) <= 16);
    if (pipeNorm) {
        const double d = PipeDiameter();
        // Surface resistance taken at the insulated diameter d + 0.1 m.
        const double e = 2 * Pi * Lambda * (r - 1 / (Pi * alpha * (d + 0.1)));
        RootTarget = std::exp(e);
        Thickness = d * (RootTarget - 1) / 2;
    } else {
        Thickness = Lambda * (r - 1 / alpha);
    }
    return Thickness;
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
        Thickness = RootTarget > 0 ? d * (SolveCylinderRatio(RootTarget) - 1) / 2 : 0;
    } else {
        Thickness = std::abs(w - s) * Lambda / (std::abs(s - a) * alpha);
    }
    return Thickness;
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
        x = RootTarget > 0 ? d * (SolveCylinderRatio(RootTarget) - 1) / 2 : 0;
    } else {
        x = (Lambda / alpha) * ratio;
    }
    Thickness = std::max(x, 0.0); // dew point below the carrier: no insulation needed
    return Thickness;
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
    const int32_t diameter = OuterDiameterMm[Bounded(DiameterIndex, DiameterCount)];
    const ChannelGaps& gaps =
        *std::find_if(ChannelGapTable.begin(), ChannelGapTable.end() - 1,
                      [&](const ChannelGaps& g) { return g.upToDiameter >= diameter; });
    const double neededHeight = (gaps.below + diameter + gaps.above) * 0.001 + 2 * thickness;
    const double neededWidth = (2 * gaps.side + 2 * diameter + gaps.middle) * 0.001 + 4 * thickness;
    if (status == 0) {
        if (neededHeight > channelHeight) {
            if (ShowMessageBox)
                ShowMessageBox(std::string(ChannelTooLowText), std::string(ChannelTooSmallCaption));
            reject(6);
        }
        if (neededWidth > channelWidth) reject(5);
    }
    return status;
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

    const int vector = (UpTo5000Hours ? 0 : 3) + (SupplyTemp == 65 ? 0 : SupplyTemp == 90 ? 1 : 2);
    const double qN = InterpolateTable(23, ChannelNorm[vector], ChannelNormAxis, diameterMm);
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
        const double delta1 = e1 > 0 ? d * (std::exp(e1) - 1) / 2 : e1;
        const double delta2 = e2 > 0 ? d * (std::exp(e2) - 1) / 2 : e2;
        delta = delta1 > delta2 ? delta1 : delta2;

        // Correct delta by halving steps until the pair loses exactly its norm.
        const double kc = d < 0.15 ? 1.2 : 1.15;
        for (double step = 0.01; step > 0.0001; step /= 2) {
            const double outer = 2 * delta + d;
            const double ri = std::log(outer / d) / (2 * Pi * lambda2);
            const double ro = 1 / (ChannelAirCoef * 2 * Pi * outer);
            const double rp = ri + ro;
            const double air = (t1 / rp + t2 / rp + tg / rc) / (1 / rp + 1 / rp + 1 / rc);
            const double qc = (air - tg) * kc / rc;
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
    const double d = PipeDiameter();
    const double inner = d - WallThickness;
    const double steel = (d * d - inner * inner) * QuarterPi;
    const double water = inner * Pi * inner * 0.25;
    const double numerator = StandstillHours * 3.6 * LossCoef;
    const double capacity = water * WaterDensity * WaterHeat + steel * SteelDensity * SteelHeat;
    const double freezing = 0.25 * water * WaterDensity * FreezingHeat;
    const int64_t twiceWater = 2 * int64_t{WaterTemp};
    const int64_t spread = WaterTemp - 2 * int64_t{AirTemp};
    // With nothing to release heat through the standstill, no resistance keeps the water.
    if (spread == 0) return 0;
    const double denominator =
        capacity * double(twiceWater) / double(spread) + freezing / -double(AirTemp);
    if (denominator == 0) return 0;
    return numerator / denominator;
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
    // Surface resistance taken at the insulated diameter d + 0.1 m.
    const double e = 2 * Pi * Lambda * (r - 1 / (Pi * alpha * (d + 0.1)));
    RootTarget = std::exp(e);
    Thickness = d * (RootTarget - 1) / 2;
    return Thickness;
}
