#include "params/createParameters.h"

#include "params/FactoryPresets.h"
#include "params/FaderParameter.h"
#include "params/LogParameter.h"
#include "params/MyStringListParameter.h"
#include "params/ParamId.h"
#include "params/ParameterTable.h"
#include "params/ScaledParameter.h"
#include "pluginterfaces/base/fstrdefs.h"
#include "sdk/Utf16.h"

#include <string>

namespace Steinberg {
namespace Vst {

namespace {

// The texts hosts show: titles, short titles, units and list entries.
namespace Text {
const TChar kProgSel[] = STR16("ProgSel");
const TChar kBypass[] = STR16("Bypass");
const TChar kScope[] = STR16("Scope");
const TChar kLeftGain[] = STR16("Left Gain");
const TChar kLeftGainShort[] = STR16("L Gain");
const TChar kRightGain[] = STR16("Right Gain");
const TChar kRightGainShort[] = STR16("R Gain");
const TChar kMuteLeft[] = STR16("Mute Left");
const TChar kMuteLeftShort[] = STR16("L Mute");
const TChar kMuteRight[] = STR16("Mute Right");
const TChar kMuteRightShort[] = STR16("R Mute");
const TChar kInvertLeft[] = STR16("Invert Left");
const TChar kInvertLeftShort[] = STR16("L Phase");
const TChar kInvertRight[] = STR16("Invert Right");
const TChar kInvertRightShort[] = STR16("R Phase");
const TChar kLeftPan[] = STR16("Left Pan");
const TChar kLeftPanShort[] = STR16("L Pan");
const TChar kRightPan[] = STR16("Right Pan");
const TChar kRightPanShort[] = STR16("R Pan");
const TChar kBalance[] = STR16("Balance");
const TChar kAsymmetry[] = STR16("Asymmetry");
const TChar kAsymmetryShort[] = STR16("Asymm");
const TChar kAsymmCrush[] = STR16("Asymm Crush");
const TChar kAsymmCrushShort[] = STR16("ACrush");
const TChar kHpGain[] = STR16("HP Gain");
const TChar kHpGainShort[] = STR16("HPGain");
const TChar kHpWidth[] = STR16("HP Width");
const TChar kHpWidthShort[] = STR16("HPWidth");
const TChar kHpPan[] = STR16("HP Pan");
const TChar kHpPanShort[] = STR16("HPPan");
const TChar kPanLaw[] = STR16("Pan Law");
const TChar kPanLawShort[] = STR16("PanLaw");
const TChar kPanCrush[] = STR16("Pan Crush");
const TChar kPanCrushShort[] = STR16("PCrush");
const TChar kGainTrim[] = STR16("Gain Trim");
const TChar kGainTrimShort[] = STR16("O Trim");
const TChar kLpGain[] = STR16("LP Gain");
const TChar kLpGainShort[] = STR16("LPGain");
const TChar kLpWidth[] = STR16("LP Width");
const TChar kLpWidthShort[] = STR16("LPWidth");
const TChar kLpPan[] = STR16("LP Pan");
const TChar kLpPanShort[] = STR16("LPPan");
const TChar kCrossover[] = STR16("Crossover");
const TChar kCrossoverShort[] = STR16("Xover");
const TChar kCrossoverFreq[] = STR16("Crossover Freq");
const TChar kCrossoverFreqShort[] = STR16("XFreq");
const TChar kInputFormat[] = STR16("Input Format");
const TChar kInputFormatShort[] = STR16("InFormat");
const TChar kOutputFormat[] = STR16("Output Format");
const TChar kOutputFormatShort[] = STR16("OutFormat");
const TChar kSolo[] = STR16("Solo");
const TChar kMono[] = STR16("Mono");

const TChar kNoUnits[] = STR16("");
const TChar kDecibels[] = STR16("dB");
const TChar kDegrees[] = STR16("degs");
const TChar kPercent[] = STR16("%");

const TChar kOff[] = STR16("OFF");
const TChar kLr2[] = STR16("LR-2");
const TChar kLr4[] = STR16("LR-4");
const TChar kLeftRight[] = STR16("L/R");
const TChar kMidSide[] = STR16("M/S");
const TChar kHighPass[] = STR16("HIPASS");
const TChar kLowPass[] = STR16("LOPASS");
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
    int32 precision;                               // decimals shown
    double span, minimum;                          // scaled, in plain units
    std::vector<std::basic_string<TChar>> entries; // lists
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

Row listRow(ParamId id, const TChar* title, const TChar* shortTitle, std::vector<std::basic_string<TChar>> entries)
{
    return {id, Kind::List, title, shortTitle, Text::kNoUnits, 0, 0, 0, std::move(entries)};
}

std::vector<std::basic_string<TChar>> programNames()
{
    std::vector<std::basic_string<TChar>> names;
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
        for (const std::basic_string<TChar>& entry : row.entries)
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
