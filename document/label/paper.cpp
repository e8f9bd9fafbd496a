#include "document/label/paper.h"

#include <QSizeF>

namespace {

struct PaperEntry {
    int code;
    int32_t width;
    int32_t length;
};

// The Windows paper sizes; inch sizes converted at 25.4 mm per inch.
constexpr PaperEntry kPapers[] = {
    {1, 215900, 279400},  {2, 215900, 279400},  {3, 279400, 431800},  {4, 431800, 279400},
    {5, 215900, 355600},  {6, 139700, 215900},  {7, 190500, 266700},  {8, 297000, 420000},
    {9, 210000, 297000},  {10, 210000, 297000}, {11, 148000, 210000}, {12, 250000, 354000},
    {14, 215900, 330200}, {15, 215000, 275000}, {16, 254000, 355600}, {17, 279400, 431800},
    {18, 215900, 279400}, {19, 98425, 225425},  {20, 104775, 241300}, {21, 114300, 263525},
    {22, 114300, 279400}, {23, 127000, 292100}, {27, 110000, 220000}, {28, 162000, 229000},
    {29, 324000, 458000}, {30, 229000, 324000}, {31, 114000, 162000}, {32, 114000, 229000},
    {33, 250000, 353000}, {34, 176000, 250000}, {35, 176000, 125000}, {36, 110000, 230000},
    {37, 98425, 190500},  {38, 92075, 165100},  {39, 466725, 279400}, {40, 215900, 304800},
    {41, 215900, 330200}, {42, 250000, 353000}, {43, 100000, 148000}, {44, 228600, 279400},
    {45, 254000, 279400}, {46, 381000, 279400}, {47, 220000, 220000}, {50, 235585, 304800},
    {51, 235585, 381000}, {52, 296926, 457200}, {53, 235458, 322326}, {54, 210185, 279400},
    {55, 210000, 297000}, {56, 235585, 288000}, {57, 227000, 356000}, {58, 305000, 487000},
    {59, 215900, 322326}, {60, 210000, 330000}, {61, 148000, 210000}, {62, 182000, 257000},
    {63, 322000, 445000}, {64, 174000, 235000}, {65, 201000, 276000}, {66, 420000, 594000},
    {67, 297000, 420000}, {68, 322000, 445000},
};

constexpr const char* kNames[60] = {
    "",                     // 0
    "Letter",               // 1
    "Letter Small",         // 2
    "Tabloid",              // 3
    "Ledger",               // 4
    "Legal",                // 5
    "Statement",            // 6
    "Executive",            // 7
    "A3",                   // 8
    "A4",                   // 9
    "A4 Small",             // 10
    "A5",                   // 11
    "B4 (JIS)",             // 12
    "B5 (JIS)",             // 13
    "Folio",                // 14
    "Quarto",               // 15
    "10 x 14 in",           // 16
    "11 x 17 in",           // 17
    "US Note",              // 18
    "US Envelope #9",       // 19
    "US Envelope #10",      // 20
    "US Envelope #11",      // 21
    "US Envelope #12",      // 22
    "US Envelope #14",      // 23
    "C size sheet",         // 24
    "D size sheet",         // 25
    "E size sheet",         // 26
    "Envelope DL",          // 27
    "Envelope C5",          // 28
    "Envelope C3",          // 29
    "Envelope C4",          // 30
    "Envelope C6",          // 31
    "Envelope C65",         // 32
    "Envelope B4",          // 33
    "Envelope B5",          // 34
    "Envelope B6",          // 35
    "Envelope",             // 36
    "Envelope Monarch",     // 37
    "US Envelope 3",        // 38
    "US Std Fanfold",       // 39
    "German Std Fanfold",   // 40
    "German Legal Fanfold", // 41
    "B4 (ISO)",             // 42
    "Japanese Postcard",    // 43
    "",                     // 44
    "",                     // 45
    "",                     // 46
    "Envelope Invite",      // 47
    "",                     // 48
    "",                     // 49
    "US Letter Extra",      // 50
    "US Legal Extra",       // 51
    "US Tabloid Extra",     // 52
    "A4 Extra",             // 53
    "Letter Transverse",    // 54
    "A4 Transverse",        // 55
    "Letter Extra Transverse", // 56
    "SuperA/SuperA/A4",     // 57
    "SuperB/SuperB/A3",     // 58
    "US Letter Plus",       // 59
};

} // namespace

PaperDimensions PaperDimensionsForCode(int code)
{
    for (const PaperEntry& e : kPapers)
        if (e.code == code)
            return {e.width, e.length};
    return {90000, 60000};
}

const char* PaperNameForCode(int code)
{
    if (code < 0 || code >= 60)
        return "";
    return kNames[code];
}

QPageSize PageSizeForPaperCode(int code, int32_t widthUm, int32_t lengthUm)
{
    if (code > 0 && code < kPaperUser) {
        const QPageSize::PageSizeId id = QPageSize::id(code);
        if (id != QPageSize::Custom)
            return QPageSize(id);
        const PaperDimensions d = PaperDimensionsForCode(code);
        widthUm = d.width;
        lengthUm = d.length;
    }
    if (widthUm <= 0 || lengthUm <= 0)
        return QPageSize(QPageSize::A4);
    return QPageSize(QSizeF(widthUm / 1000.0, lengthUm / 1000.0), QPageSize::Millimeter, QString(),
                     QPageSize::ExactMatch);
}

int PaperCodeForPageSize(const QPageSize& size)
{
    if (!size.isValid() || size.id() == QPageSize::Custom)
        return kPaperUser;
    const int code = size.windowsId();
    return code > 0 ? code : kPaperUser;
}
