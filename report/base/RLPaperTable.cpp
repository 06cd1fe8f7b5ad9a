#include "report/base/RLTypes.h"

#include <array>

namespace {

struct PaperRow
{
    TRLPaperSize size;
    const char *description;
    double width; // portrait, millimetres
    double height;
    int paperCode; // RLNoPaperCode: the printer has no native paper for it
};

const PaperRow paperRows[] = {
    {fpA0, "A0 841 x 1189 mm", 841, 1189, 0},
    {fpA1, "A1 594 x 841 mm", 594, 841, 0},
    {fpA2, "A2 420 x 594 mm", 420, 594, 66},
    {fpA3, "A3 297 x 420 mm", 297, 420, 8},
    {fpA4, "A4 210 x 297 mm", 210, 297, 9},
    {fpA5, "A5 148 x 210 mm", 148, 210, 11},
    {fpA6, "A6 105 x 148 mm", 105, 148, 70},
    {fpA7, "A7 74 x 105 mm", 74, 105, 0},
    {fpA8, "A8 52 x 74 mm", 52, 74, 0},
    {fpA9, "A9 37 x 52 mm", 37, 52, 0},
    {fpA10, "A10 26 x 37 mm", 26, 37, 0},
    {fpB0, "B0 1000 x 1414 mm", 1000, 1414, 0},
    {fpB1, "B1 707 x 1000 mm", 707, 1000, 0},
    {fpB2, "B2 500 x 707 mm", 500, 707, 0},
    {fpB3, "B3 353 x 500 mm", 353, 500, 0},
    {fpB4, "B4 250 x 353 mm", 250, 353, 12},
    {fpB5, "B5 176 x 250 mm", 176, 250, 13},
    {fpB6, "B6 125 x 176 mm", 125, 176, 88},
    {fpB7, "B7 88 x 125 mm", 88, 125, 0},
    {fpB8, "B8 62 x 88 mm", 62, 88, 0},
    {fpB9, "B9 44 x 62 mm", 44, 62, 0},
    {fpB10, "B10 31 x 44 mm", 31, 44, 0},
    {fpSRA0, "SRA0 900 x 1280 mm", 900, 1280, 0},
    {fpSRA1, "SRA1 640 x 900 mm", 640, 900, 0},
    {fpSRA2, "SRA2 450 x 640 mm", 450, 640, 0},
    {fpSRA3, "SRA3 320 x 450 mm", 320, 450, 0},
    {fpSRA4, "SRA4 225 x 320 mm", 225, 320, 0},
    {fpRA0, "RA0 860 x 1220 mm", 860, 1220, 0},
    {fpRA1, "RA1 610 x 860 mm", 610, 860, 0},
    {fpRA2, "RA2 430 x 610 mm", 430, 610, 0},
    {fpRA3, "RA3 305 x 430 mm", 305, 430, 0},
    {fpRA4, "RA4 215 x 305 mm", 215, 305, 0},
    {fp2A, "2A 1189 x 1682 mm", 1189, 1682, 0},
    {fp2B, "2B 1414 x 2000 mm", 1414, 2000, 0},
    {fp4A, "4A 1682 x 2378 mm", 1682, 2378, 0},
    {fp4B, "4B 2000 x 2828 mm", 2000, 2828, 0},
    {fp9x11, "9x11 228.6 x 279.4 mm", 228.6, 279.4, 44},
    {fp10x11, "10x11 254 x 279.4 mm", 254, 279.4, 45},
    {fp10x14, "10x14 254 x 355.6 mm", 254, 355.6, 16},
    {fp11x17, "11x17 279.4 x 431.8 mm", 279.4, 431.8, 17},
    {fp12x11, "12x11 304.8 x 279.4 mm", 304.8, 279.4, 90},
    {fp15x11, "15x11 381 x 279.4 mm", 381, 279.4, 46},
    {fpA3_Extra, "A3 Extra 322.44 x 445.2 mm", 322.44, 445.2, 63},
    {fpA3_Extra_Transverse, "A3 Extra Transverse 322 x 445 mm", 322, 445, 68},
    {fpA3_Transverse, "A3 Transverse 297 x 420 mm", 297, 420, 67},
    {fpA4_Small, "A4 Small 210 x 297 mm", 210, 297, 10},
    {fpA4_Extra, "A4 Extra 235.3 x 322.44 mm", 235.3, 322.44, 53},
    {fpA4_Plus, "A4 Plus 210 x 330 mm", 210, 330, 60},
    {fpA4_Transverse, "A4 Transverse 210 x 297 mm", 210, 297, 55},
    {fpA5_Extra, "A5 Extra 174 x 235 mm", 174, 235, 64},
    {fpA5_Transverse, "A5 Transverse 148 x 210 mm", 148, 210, 61},
    {fpA_Plus, "SuperA/SuperA/A4 227 x 356 mm", 227, 356, 57},
    {fpB4_JIS, "B4 (JIS) 250 x 354", 250, 354, 0},
    {fpB5_Extra, "B5 (ISO) Extra 201 x 276 mm", 201, 276, 65},
    {fpB5_Transverse, "B5 (JIS) Transverse 182 x 257 mm", 182, 257, 62},
    {fpB6_JIS, "B6 (JIS) 128 x 182 mm", 128, 182, 88},
    {fpB_Plus, "SuperB/SuperB/A3 305 x 487 mm", 305, 487, 58},
    {fpEnv_9, "Envelope #9 76.2 x 203.2 mm", 76.2, 203.2, 19},
    {fpEnv_10, "Envelope #10 101.6 x 228.6 mm", 101.6, 228.6, 20},
    {fpEnv_11, "Envelope #11 101.6 x 254 mm", 101.6, 254, 21},
    {fpEnv_12, "Envelope #12 101.6 x 279.4 mm", 101.6, 279.4, 22},
    {fpEnv_14, "Envelope #14 127 x 279.4 mm", 127, 279.4, 23},
    {fpEnv_B4, "Envelope B4 250 x 353 mm", 250, 353, 33},
    {fpEnv_B5, "Envelope B5 176 x 250 mm", 176, 250, 34},
    {fpEnv_B6, "Envelope B6 176 x 125 mm", 176, 125, 35},
    {fpEnv_C0, "Envelope C0 917 x 1297 mm", 917, 1297, 0},
    {fpEnv_C1, "Envelope C1 648 x 917 mm", 648, 917, 0},
    {fpEnv_C2, "Envelope C2 458 x 648 mm", 458, 648, 0},
    {fpEnv_C3, "Envelope C3 324 x 458 mm", 324, 458, 29},
    {fpEnv_C4, "Envelope C4 229 x 324 mm", 229, 324, 30},
    {fpEnv_C5, "Envelope C5 162 x 229 mm", 162, 229, 28},
    {fpEnv_C5E, "Envelope C5E 163 x 229 mm", 163, 229, 0},
    {fpEnv_C6, "Envelope C6 114 x 162 mm", 114, 162, 31},
    {fpEnv_C65, "Envelope C65 114 x 229 mm", 114, 229, 32},
    {fpEnv_C7, "Envelope C7 81 x 114 mm", 81, 114, 0},
    {fpEnv_C8, "Envelope C8 57 x 81 mm", 57, 81, 0},
    {fpEnv_C9, "Envelope C9 40 x 57 mm", 40, 57, 0},
    {fpEnv_C10, "Envelope C10 28 x 40 mm", 28, 40, 0},
    {fpEnv_DL, "Envelope DL 110 x 220 mm", 110, 220, 27},
    {fpEnv_Invite, "Envelope Invite 220 x 220 mm", 220, 220, 47},
    {fpEnv_Italy, "Envelope 110 x 230 mm", 110, 230, 36},
    {fpEnv_Monarch, "Envelope Monarch 98.43 x 190.5 mm", 98.43, 190.5, 37},
    {fpEnv_Personal, "Envelope 76.2 x 152.4 mm", 76.2, 152.4, 38},
    {fpLetter, "Letter 215.9 x 279.4 mm", 215.9, 279.4, 1},
    {fpLegal, "Legal 215.9 x 355.6 mm", 215.9, 355.6, 5},
    {fpLedger, "Ledger 431.8 x 279 mm", 431.8, 279, 4},
    {fpTabloid, "Tabloid 279 x 431.8 mm", 279, 431.8, 3},
    {fpExecutive, "Executive 190.5 x 254 mm", 190.5, 254, 7},
    {fpFanfold_US, "US Std Fanfold 355.6 x 279.4 mm", 355.6, 279.4, 39},
    {fpComm10E, "Comm10E 105 x 241 mm", 105, 241, 0},
    {fpDLE, "DLE 110 x 220 mm", 110, 220, 0},
    {fpFolio, "Folio 215.9 x 330.2 mm", 215.9, 330.2, 14},
    {fpNote, "Note 8 304.8 x 279.4 mm", 304.8, 279.4, 18},
    {fpPostcard, "Postcard 100 x 148 mm", 100, 148, 0},
    {fpQuarto, "Quarto 215 x 275 mm", 215, 275, 15},
    {fpStatement, "Statement 139.7 x 215.9 mm", 139.7, 215.9, 6},
    {fpLegal_Extra, "Legal Extra 241.3 x 381 mm", 241.3, 381, 51},
    {fpLegal3, "Legal 3 215.9 x 330.2 mm", 215.9, 330.2, 0},
    {fpLetter_Small, "Letter Small 8 304.8 x 279.4 mm", 304.8, 279.4, 2},
    {fpLetter_Extra, "Letter Extra 241.3 x 304.8 mm", 241.3, 304.8, 50},
    {fpLetter_Extra_Transverse, "Letter Extra Transverse 241.3 x 304.8 mm", 241.3, 304.8, 0},
    {fpLetter_Plus, "Letter Plus 215.9 x 322.33 mm", 215.9, 322.33, 0},
    {fpLetter_Transverse, "Letter Transverse 215.9 x 279.4 mm", 215.9, 279.4, 0},
    {fpP16K, "PRC 16K 146 x 215 mm", 146, 215, 93},
    {fpP32K, "PRC 32K 97 x 151 mm", 97, 151, 94},
    {fpP32KBig, "PRC 32K(Big) 97 x 151 mm", 97, 151, 95},
    {fpPEnv_1, "PRC Envelope #1 102 x 165 mm", 102, 165, 96},
    {fpPEnv_2, "PRC Envelope #2 102 x 176 mm", 102, 176, 97},
    {fpPEnv_3, "PRC Envelope #3 125 x 176 mm", 125, 176, 98},
    {fpPEnv_4, "PRC Envelope #4 110 x 208 mm", 110, 208, 99},
    {fpPEnv_5, "PRC Envelope #5 110 x 220 mm", 110, 220, 100},
    {fpPEnv_6, "PRC Envelope #6 120 x 230 mm", 120, 230, 101},
    {fpPEnv_7, "PRC Envelope #7 160 x 230 mm", 160, 230, 102},
    {fpPEnv_8, "PRC Envelope #8 120 x 309 mm", 120, 309, 103},
    {fpPEnv_9, "PRC Envelope #9 229 x 324 mm", 229, 324, 104},
    {fpPEnv_10, "PRC Envelope #10 324 x 458 mm", 324, 458, 105},
    {fpTabloid_Extra, "Tabloid Extra 296.93 x 457.2 mm", 296.93, 457.2, 0},
    {fpGerman_Legal_Fanfold, "German Legal Fanfold 203.2 x 330.2 mm", 203.2, 330.2, 0},
    {fpGerman_Std_Fanfold, "German Std Fanfold 203.2 x 304.8 mm", 203.2, 304.8, 0},
    {fpJap_DblPostcard, "Japanese Double Postcard 200 x 148 mm", 200, 148, 0},
    {fpJap_Postcard, "Japanese Postcard 100 x 148 mm", 100, 148, 0},
    {fpEng_Foolscap, "Foolscap 419 x 336 mm", 419, 336, 0},
    {fpEng_DoubleFoolscap, "Double Foolscap 685.8 x 431.8 mm", 685.8, 431.8, 0},
    {fpEng_QuadFoolscap, "Quad Foolscap 863.6 x 685.8 mm", 863.6, 685.8, 0},
    {fpEng_Crown, "Crown 508 x 381 mm", 508, 381, 0},
    {fpEng_DoubleCrown, "Double Crown 762 x 508 mm", 762, 508, 0},
    {fpEng_QuadCrown, "Quad Crown 1016 x 762 mm", 1016, 762, 0},
    {fpEng_DoubleQuad, "Double Quad Crown 1524 x 1016 mm", 1524, 1016, 0},
    {fpEng_Post, "Post 488.95 x 393.7 mm", 488.95, 393.7, 0},
    {fpEng_DoublePost, "Double Post 800.1 x 495.3 mm", 800.1, 495.3, 0},
    {fpEng_DoubleLarge, "Double Large Post 838.2 x 533.4 mm", 838.2, 533.4, 0},
    {fpEng_Demy, "Demy 571.5 x 444.5 mm", 571.5, 444.5, 0},
    {fpEng_DoubleDemy, "Double Demy 889 x 571.5 mm", 889, 571.5, 0},
    {fpEng_QuadDemy, "Quad Demy 1143 x 889 mm", 1143, 889, 0},
    {fpEng_MusicDemy, "Music Demy 508 x 393.7 mm", 508, 393.7, 0},
    {fpEng_Medium, "Medium 584.2 x 457.2 mm", 584.2, 457.2, 0},
    {fpEng_Royal, "Royal 634 x 507 mm", 634, 507, 0},
    {fpEng_SuperRoyal, "Super Royal 698.5 x 520.7 mm", 698.5, 520.7, 0},
    {fpEng_Elephant, "Elephant 711.2 x 584.2 mm", 711.2, 584.2, 0},
    {fpEng_Imperial, "Imperial 761 x 559 mm", 761, 559, 0},
    {fpCustom, "User Defined", 0, 0, 256},
};
static_assert(sizeof(paperRows) / sizeof(paperRows[0]) == RLPaperSizeCount, "one row per size");

using PaperTable = std::array<TRLPaperInfo, RLPaperSizeCount>;

PaperTable buildPaperTable()
{
    PaperTable table;
    for (const PaperRow &row : paperRows) {
        TRLPaperInfo &info = table[row.size];
        info.Width = row.width;
        info.Height = row.height;
        info.Description = QString::fromLatin1(row.description);
        info.PaperCode = row.paperCode;
        info.Emulated = row.paperCode == RLNoPaperCode;
    }
    return table;
}

} // namespace

const TRLPaperInfo &RLPaperInfo(TRLPaperSize size)
{
    static const PaperTable table = buildPaperTable();
    return table[size < RLPaperSizeCount ? size : fpCustom];
}
