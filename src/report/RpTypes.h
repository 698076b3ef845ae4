// Types shared across the report engine: measurement units, paper sizes and paper sources,
// and (from the platform layer, which rounds font heights by it too) the one rounding rule
// every conversion to a whole number uses.
#pragma once

#include "platform/Rounding.h"

#include <array>
#include <cstdint>

enum class TRpUnit { MM = 0, Inches = 1, Pixels = 2, Characters = 3, Native = 4 };

enum class TRpOrientation { Portrait, Landscape };

// Paper sizes in the order of the printer-driver paper list: value i (1..68) requests
// the driver paper code i; Custom requests the user-defined paper code 256.
enum class TRpPaperSize {
    Default, Letter, LetterSmall, Tabloid, Ledger, Legal, Statement, Executive, A3, A4,
    A4Small, A5, B4, B5, Folio, Quarto, P10x14, P11x17, Note, Env9, Env10, Env11, Env12,
    Env14, CSheet, DSheet, ESheet, EnvDL, EnvC5, EnvC3, EnvC4, EnvC6, EnvC65, EnvB4, EnvB5,
    EnvB6, EnvItaly, EnvMonarch, EnvPersonal, FanfoldUS, FanfoldStdGerman, FanfoldLglGerman,
    ISOB4, JapanesePostcard, P9x11, P10x11, P15x11, EnvInvite, Reserved48, Reserved49,
    LetterExtra, LegalExtra, TabloidExtra, A4Extra, LetterTransverse, A4Transverse,
    LetterExtraTransverse, APlus, BPlus, LetterPlus, A4Plus, A5Transverse, B5Transverse,
    A3Extra, A5Extra, B5Extra, A2, A3Transverse, A3ExtraTrans, Custom
};

constexpr int PaperSizeCount = 70;
constexpr int DMPAPER_USER = 256;

struct PaperDimensions {
    double width;  // portrait width, millimetres
    double length; // portrait length, millimetres
};

// Portrait dimensions in millimetres, indexed by TRpPaperSize (Default and Custom have none).
// The two reserved driver codes name no paper.
constexpr std::array<PaperDimensions, PaperSizeCount> PaperTable{{
    {0, 0},          {215.9, 279.4},  {215.9, 279.4},  {279.4, 431.8},  {431.8, 279.4},
    {215.9, 355.6},  {139.7, 215.9},  {184.15, 266.7}, {297, 420},      {210, 297},
    {210, 297},      {148, 210},      {257, 364},      {182, 257},      {215.9, 330.2},
    {215, 275},      {254, 355.6},    {279.4, 431.8},  {215.9, 279.4},  {98.4, 225.4},
    {104.8, 241.3},  {114.3, 263.5},  {120.7, 279.4},  {127, 292.1},    {431.8, 558.8},
    {558.8, 863.6},  {863.6, 1117.6}, {110, 220},      {162, 229},      {324, 458},
    {229, 324},      {114, 162},      {114, 229},      {250, 353},      {176, 250},
    {176, 125},      {110, 230},      {98.4, 190.5},   {92.1, 165.1},   {377.8, 279.4},
    {215.9, 304.8},  {215.9, 330.2},  {250, 353},      {100, 148},      {228.6, 279.4},
    {254, 279.4},    {381, 279.4},    {220, 220},      {0, 0},          {0, 0},
    {241.3, 304.8},  {241.3, 381},    {296.9, 457.2},  {235.5, 322.3},  {215.9, 279.4},
    {210, 297},      {241.3, 304.8},  {227, 356},      {305, 487},      {215.9, 322.3},
    {210, 330},      {148, 210},      {182, 257},      {322, 445},      {174, 235},
    {201, 276},      {420, 594},      {297, 420},      {322, 445},      {0, 0},
}};

constexpr PaperDimensions PaperOf(TRpPaperSize size) { return PaperTable[std::size_t(size)]; }

// The driver paper code a paper size requests.
constexpr int PaperCode(TRpPaperSize size)
{
    return size == TRpPaperSize::Custom ? DMPAPER_USER : int(size);
}

// Paper sources with the driver source code each one requests.
enum class TRpBin {
    First, Upper, Lower, Middle, Manual, Envelope, EnvManual, Auto, Tractor, SmallFormat,
    LargeFormat, LargeCapacity, Cassette, Last
};
constexpr std::array<int, 14> BinCodes{1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 14};
constexpr int BinCode(TRpBin bin) { return BinCodes[std::size_t(bin)]; }
