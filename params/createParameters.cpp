#include "params/createParameters.h"

#include "params/FactoryPresets.h"
#include "params/FaderParameter.h"
#include "params/LogParameter.h"
#include "params/MyStringListParameter.h"
#include "params/ParamId.h"
#include "params/ParameterTable.h"
#include "params/ScaledParameter.h"
#include "sdk/Utf16.h"

#include <string>

namespace Steinberg {
namespace Vst {

namespace {

// The texts hosts show: titles, short titles, units and list entries.
namespace Text {
const TChar kProgSel[] = u"ProgSel";
const TChar kBypass[] = u"Bypass";
const TChar kScope[] = u"Scope";
const TChar kLeftGain[] = u"Left Gain";
const TChar kLeftGainShort[] = u"L Gain";
const TChar kRightGain[] = u"Right Gain";
const TChar kRightGainShort[] = u"R Gain";
const TChar kMuteLeft[] = u"Mute Left";
const TChar kMuteLeftShort[] = u"L Mute";
const TChar kMuteRight[] = u"Mute Right";
const TChar kMuteRightShort[] = u"R Mute";
const TChar kInvertLeft[] = u"Invert Left";
const TChar kInvertLeftShort[] = u"L Phase";
const TChar kInvertRight[] = u"Invert Right";
const TChar kInvertRightShort[] = u"R Phase";
const TChar kLeftPan[] = u"Left Pan";
const TChar kLeftPanShort[] = u"L Pan";
const TChar kRightPan[] = u"Right Pan";
const TChar kRightPanShort[] = u"R Pan";
const TChar kBalance[] = u"Balance";
const TChar kAsymmetry[] = u"Asymmetry";
const TChar kAsymmetryShort[] = u"Asymm";
const TChar kAsymmCrush[] = u"Asymm Crush";
const TChar kAsymmCrushShort[] = u"ACrush";
const TChar kHpGain[] = u"HP Gain";
const TChar kHpGainShort[] = u"HPGain";
const TChar kHpWidth[] = u"HP Width";
const TChar kHpWidthShort[] = u"HPWidth";
const TChar kHpPan[] = u"HP Pan";
const TChar kHpPanShort[] = u"HPPan";
const TChar kPanLaw[] = u"Pan Law";
const TChar kPanLawShort[] = u"PanLaw";
const TChar kPanCrush[] = u"Pan Crush";
const TChar kPanCrushShort[] = u"PCrush";
const TChar kGainTrim[] = u"Gain Trim";
const TChar kGainTrimShort[] = u"O Trim";
const TChar kLpGain[] = u"LP Gain";
const TChar kLpGainShort[] = u"LPGain";
const TChar kLpWidth[] = u"LP Width";
const TChar kLpWidthShort[] = u"LPWidth";
const TChar kLpPan[] = u"LP Pan";
const TChar kLpPanShort[] = u"LPPan";
const TChar kCrossover[] = u"Crossover";
const TChar kCrossoverShort[] = u"Xover";
const TChar kCrossoverFreq[] = u"Crossover Freq";
const TChar kCrossoverFreqShort[] = u"XFreq";
const TChar kInputFormat[] = u"Input Format";
const TChar kInputFormatShort[] = u"InFormat";
const TChar kOutputFormat[] = u"Output Format";
const TChar kOutputFormatShort[] = u"OutFormat";
const TChar kSolo[] = u"Solo";
const TChar kMono[] = u"Mono";

const TChar kNoUnits[] = u"";
const TChar kDecibels[] = u"dB";
const TChar kDegrees[] = u"degs";
const TChar kPercent[] = u"%";

const TChar kOff[] = u"OFF";
const TChar kLr2[] = u"LR-2";
const TChar kLr4[] = u"LR-4";
const TChar kLeftRight[] = u"L/R";
const TChar kMidSide[] = u"M/S";
const TChar kHighPass[] = u"HIPASS";
const TChar kLowPass[] = u"LOPASS";
} // namespace Text

enum class Kind
{
    Switch, // MyParameter, step count 1
    Scaled,
    Fader,
    Log,
    List
};

// What the table does not say: the class, the texts, the precision, the
// scale and the list entries. Defaults and flags come from the table.
struct Row
{
    ParamId id;
    Kind kind;
    const TChar* title;
    const TChar* shortTitle;
    const TChar* units;
    int32 precision;                     // decimals shown
    double span, minimum;                // scaled, in plain units
    std::vector<std::u16string> entries; // lists
};

Row switchRow(ParamId id, const TChar* title, const TChar* shortTitle)
{
    return {id, Kind::Switch, title, shortTitle, Text::kNoUnits, 0, 0, 0, {}};
}

Row scaledRow(ParamId id, const TChar* title, const TChar* shortTitle, const TChar* units, int32 precision, double span,
              double minimum)
{
    return {id, Kind::Scaled, title, shortTitle, units, precision, span, minimum, {}};
}

Row faderRow(ParamId id, const TChar* title, const TChar* shortTitle)
{
    return {id, Kind::Fader, title, shortTitle, Text::kDecibels, 1, 0, 0, {}};
}

Row logRow(ParamId id, const TChar* title, const TChar* shortTitle)
{
    return {id, Kind::Log, title, shortTitle, Text::kNoUnits, 0, 0, 0, {}};
}

Row listRow(ParamId id, const TChar* title, const TChar* shortTitle, std::vector<std::u16string> entries)
{
    return {id, Kind::List, title, shortTitle, Text::kNoUnits, 0, 0, 0, std::move(entries)};
}

std::vector<std::u16string> programNames()
{
    std::vector<std::u16string> names;
    for (const char* name : kProgramNames)
    {
        String128 text;
        utf8ToUtf16(name, text, 128);
        names.emplace_back(text);
    }
    return names;
}

std::vector<Row> parameterRows()
{
    const double kPanSpan = 90, kPanMinimum = -45;  // degrees, -45..+45
    const double kCrushSpan = 100;                  // percent, 0..100
    const double kWidthSpan = 2;                    // 0..2
    const double kLawSpan = 3, kLawMinimum = 3;     // dB, 3..6
    const double kTrimSpan = 12, kTrimMinimum = -6; // dB, -6..+6
    return {
        listRow(kProgSel, Text::kProgSel, Text::kProgSel, programNames()),
        switchRow(kBypass, Text::kBypass, Text::kBypass),
        switchRow(kScope, Text::kScope, Text::kScope),
        faderRow(kLeftGain, Text::kLeftGain, Text::kLeftGainShort),
        faderRow(kRightGain, Text::kRightGain, Text::kRightGainShort),
        switchRow(kMuteLeft, Text::kMuteLeft, Text::kMuteLeftShort),
        switchRow(kMuteRight, Text::kMuteRight, Text::kMuteRightShort),
        switchRow(kInvertLeft, Text::kInvertLeft, Text::kInvertLeftShort),
        switchRow(kInvertRight, Text::kInvertRight, Text::kInvertRightShort),
        scaledRow(kLeftPan, Text::kLeftPan, Text::kLeftPanShort, Text::kDegrees, 0, kPanSpan, kPanMinimum),
        scaledRow(kRightPan, Text::kRightPan, Text::kRightPanShort, Text::kDegrees, 0, kPanSpan, kPanMinimum),
        scaledRow(kBalance, Text::kBalance, Text::kBalance, Text::kDegrees, 0, kPanSpan, kPanMinimum),
        scaledRow(kAsymmetry, Text::kAsymmetry, Text::kAsymmetryShort, Text::kDegrees, 0, kPanSpan, kPanMinimum),
        scaledRow(kAsymmCrush, Text::kAsymmCrush, Text::kAsymmCrushShort, Text::kPercent, 0, kCrushSpan, 0),
        faderRow(kHpGain, Text::kHpGain, Text::kHpGainShort),
        scaledRow(kHpWidth, Text::kHpWidth, Text::kHpWidthShort, Text::kNoUnits, 2, kWidthSpan, 0),
        scaledRow(kHpPan, Text::kHpPan, Text::kHpPanShort, Text::kDegrees, 0, kPanSpan, kPanMinimum),
        scaledRow(kPanLaw, Text::kPanLaw, Text::kPanLawShort, Text::kNoUnits, 1, kLawSpan, kLawMinimum),
        scaledRow(kPanCrush, Text::kPanCrush, Text::kPanCrushShort, Text::kPercent, 0, kCrushSpan, 0),
        scaledRow(kGainTrim, Text::kGainTrim, Text::kGainTrimShort, Text::kNoUnits, 1, kTrimSpan, kTrimMinimum),
        faderRow(kLpGain, Text::kLpGain, Text::kLpGainShort),
        scaledRow(kLpWidth, Text::kLpWidth, Text::kLpWidthShort, Text::kNoUnits, 2, kWidthSpan, 0),
        scaledRow(kLpPan, Text::kLpPan, Text::kLpPanShort, Text::kDegrees, 0, kPanSpan, kPanMinimum),
        listRow(kCrossover, Text::kCrossover, Text::kCrossoverShort, {Text::kOff, Text::kLr2, Text::kLr4}),
        logRow(kCrossoverFreq, Text::kCrossoverFreq, Text::kCrossoverFreqShort),
        listRow(kInputFormat, Text::kInputFormat, Text::kInputFormatShort, {Text::kLeftRight, Text::kMidSide}),
        listRow(kOutputFormat, Text::kOutputFormat, Text::kOutputFormatShort, {Text::kLeftRight, Text::kMidSide}),
        listRow(kSolo, Text::kSolo, Text::kSolo, {Text::kOff, Text::kHighPass, Text::kLowPass}),
        switchRow(kMono, Text::kMono, Text::kMono),
    };
}

IPtr<MyParameter> createParameter(const Row& row, const ParameterRecord& record)
{
    switch (row.kind)
    {
    case Kind::Switch:
        return owned(new MyParameter(row.title, row.id, row.units, record.defaultNormalized, 1, record.flags));
    case Kind::Scaled: return owned(new ScaledParameter(row.title, row.id, row.units, record, row.span, row.minimum));
    case Kind::Fader: return owned(new FaderParameter(row.title, row.id, row.units, record));
    case Kind::Log: return owned(new LogParameter(row.title, row.id, row.units, record));
    case Kind::List:
    {
        auto list = owned(new MyStringListParameter(row.title, row.id, row.units, record));
        for (const std::u16string& entry : row.entries)
            list->appendString(entry);
        return list;
    }
    }
    return nullptr;
}

} // namespace

ParameterList createParameters()
{
    const ParameterTable table;
    ParameterList parameters;
    parameters.reserve(kNumParams);
    for (const Row& row : parameterRows())
    {
        IPtr<MyParameter> parameter = createParameter(row, table.record(row.id));
        parameter->setPrecision(row.precision);
        parameter->setShortTitle(row.shortTitle);
        parameters.push_back(parameter);
    }
    return parameters;
}

} // namespace Vst
} // namespace Steinberg
