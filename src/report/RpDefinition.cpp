#include "RpDefinition.h"

#include "RpCtrls.h"
#include "RpPrinterSettings.h"
#include "rpSwRect.h"

#include "platform/Application.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <iterator>
#include <utility>
#include <vector>

namespace {

[[noreturn]] void Fail(const QString &where, const QString &fault) {
    throw platform::Error(QStringLiteral("Report definition, %1: %2").arg(where, fault));
}

template <class E> using Names = std::vector<std::pair<QString, E>>;

// One stored value and where it stands in the definition, for the messages.
struct Value {
    QJsonValue json;
    QString where;

    bool Bool() const {
        if (!json.isBool())
            Fail(where, QStringLiteral("true or false expected"));
        return json.toBool();
    }
    long double Number() const {
        if (!json.isDouble())
            Fail(where, QStringLiteral("a number expected"));
        return json.toDouble();
    }
    int Int() const {
        const long double number = Number();
        if (number != (long double)(int)number)
            Fail(where, QStringLiteral("a whole number expected"));
        return int(number);
    }
    QString String() const {
        if (!json.isString())
            Fail(where, QStringLiteral("a text expected"));
        return json.toString();
    }
    QJsonObject Object() const {
        if (!json.isObject())
            Fail(where, QStringLiteral("an object expected"));
        return json.toObject();
    }
    QJsonArray Array() const {
        if (!json.isArray())
            Fail(where, QStringLiteral("a list expected"));
        return json.toArray();
    }
    template <class E> E Enum(const Names<E> &names) const {
        const QString name = String();
        for (const auto &[text, value] : names)
            if (text == name)
                return value;
        QStringList known;
        for (const auto &entry : names)
            known << entry.first;
        Fail(where, QStringLiteral("\"%1\" is not one of %2").arg(name, known.join(u", ")));
    }
    // A set stored as a list of names: which of the names are in it.
    template <class E> QSet<E> Set(const Names<E> &names) const {
        QSet<E> set;
        const QJsonArray array = Array();
        for (qsizetype i = 0; i < array.size(); ++i)
            set.insert(Value{array[i], QStringLiteral("%1[%2]").arg(where).arg(i)}.Enum(names));
        return set;
    }
    platform::TColor Colour() const {
        if (json.isString())
            return Enum(
                Names<platform::TColor>{{QStringLiteral("clBlack"), platform::clBlack},
                                        {QStringLiteral("clWhite"), platform::clWhite},
                                        {QStringLiteral("clGray"), platform::clGray},
                                        {QStringLiteral("clWindowText"), platform::clWindowText},
                                        {QStringLiteral("clWindow"), platform::clWindow},
                                        {QStringLiteral("clBtnFace"), platform::clBtnFace}});
        const long double number = Number();
        if (number < 0 || number > 0xFFFFFFFFu || number != (long double)(std::uint32_t)number)
            Fail(where, QStringLiteral("a colour value expected"));
        return platform::TColor(number);
    }
    std::vector<long double> Numbers() const {
        std::vector<long double> numbers;
        const QJsonArray array = Array();
        for (qsizetype i = 0; i < array.size(); ++i)
            numbers.push_back(Value{array[i], QStringLiteral("%1[%2]").arg(where).arg(i)}.Number());
        return numbers;
    }
};

template <class T> struct Property {
    const char *name;
    void (*apply)(T &object, const Value &value);
};

// Applies the stored properties in the order of the table; keys the table does not know
// are refused, except the structural ones the caller reads itself.
template <class T>
void Apply(T &object, const QJsonObject &json, const std::vector<Property<T>> &table,
           const QString &where, const QStringList &structural = {}) {
    for (auto it = json.begin(); it != json.end(); ++it) {
        bool known = structural.contains(it.key());
        for (const Property<T> &property : table)
            known = known || it.key() == QLatin1String(property.name);
        if (!known)
            Fail(where, QStringLiteral("unknown property \"%1\"").arg(it.key()));
    }
    for (const Property<T> &property : table) {
        const QString key = QLatin1String(property.name);
        if (json.contains(key))
            property.apply(object, Value{json.value(key), where + u'.' + key});
    }
}

const Names<platform::PenStyle> PenStyles{
    {QStringLiteral("psSolid"), platform::PenStyle::Solid},
    {QStringLiteral("psDash"), platform::PenStyle::Dash},
    {QStringLiteral("psDot"), platform::PenStyle::Dot},
    {QStringLiteral("psDashDot"), platform::PenStyle::DashDot},
    {QStringLiteral("psDashDotDot"), platform::PenStyle::DashDotDot},
    {QStringLiteral("psClear"), platform::PenStyle::Clear},
    {QStringLiteral("psInsideFrame"), platform::PenStyle::InsideFrame}};

const Names<platform::PenMode> PenModes{{QStringLiteral("pmCopy"), platform::PenMode::Copy},
                                        {QStringLiteral("pmNotCopy"), platform::PenMode::NotCopy},
                                        {QStringLiteral("pmXor"), platform::PenMode::Xor},
                                        {QStringLiteral("pmNot"), platform::PenMode::Not}};

const Names<platform::BrushStyle> BrushStyles{
    {QStringLiteral("bsSolid"), platform::BrushStyle::Solid},
    {QStringLiteral("bsClear"), platform::BrushStyle::Clear},
    {QStringLiteral("bsHorizontal"), platform::BrushStyle::Horizontal},
    {QStringLiteral("bsVertical"), platform::BrushStyle::Vertical},
    {QStringLiteral("bsFDiagonal"), platform::BrushStyle::FDiagonal},
    {QStringLiteral("bsBDiagonal"), platform::BrushStyle::BDiagonal},
    {QStringLiteral("bsCross"), platform::BrushStyle::Cross},
    {QStringLiteral("bsDiagCross"), platform::BrushStyle::DiagCross}};

enum class FontStyleName { Bold, Italic, Underline, StrikeOut };
const Names<FontStyleName> FontStyles{{QStringLiteral("fsBold"), FontStyleName::Bold},
                                      {QStringLiteral("fsItalic"), FontStyleName::Italic},
                                      {QStringLiteral("fsUnderline"), FontStyleName::Underline},
                                      {QStringLiteral("fsStrikeOut"), FontStyleName::StrikeOut}};

const Names<TAlignment> Alignments{{QStringLiteral("taLeftJustify"), TAlignment::taLeftJustify},
                                   {QStringLiteral("taRightJustify"), TAlignment::taRightJustify},
                                   {QStringLiteral("taCenter"), TAlignment::taCenter}};

const Names<TRpExportType> ExportTypes{{QStringLiteral("exptText"), TRpExportType::exptText},
                                       {QStringLiteral("exptNumeric"), TRpExportType::exptNumeric},
                                       {QStringLiteral("exptFormula"), TRpExportType::exptFormula}};

const Names<TRpShapeType> ShapeTypes{
    {QStringLiteral("rpsRectangle"), TRpShapeType::rpsRectangle},
    {QStringLiteral("rpsCircle"), TRpShapeType::rpsCircle},
    {QStringLiteral("rpsVertLine"), TRpShapeType::rpsVertLine},
    {QStringLiteral("rpsHorLine"), TRpShapeType::rpsHorLine},
    {QStringLiteral("rpsTopAndBottom"), TRpShapeType::rpsTopAndBottom},
    {QStringLiteral("rpsRightAndLeft"), TRpShapeType::rpsRightAndLeft},
    {QStringLiteral("rpsRoundRect"), TRpShapeType::rpsRoundRect},
    {QStringLiteral("rpsLeftDiagonal"), TRpShapeType::rpsLeftDiagonal},
    {QStringLiteral("rpsRightDiagonal"), TRpShapeType::rpsRightDiagonal}};

const Names<TRpBandType> BandTypes{{QStringLiteral("rbTitle"), TRpBandType::rbTitle},
                                   {QStringLiteral("rbPageHeader"), TRpBandType::rbPageHeader},
                                   {QStringLiteral("rbDetail"), TRpBandType::rbDetail},
                                   {QStringLiteral("rbPageFooter"), TRpBandType::rbPageFooter},
                                   {QStringLiteral("rbSummary"), TRpBandType::rbSummary},
                                   {QStringLiteral("rbGroupHeader"), TRpBandType::rbGroupHeader},
                                   {QStringLiteral("rbGroupFooter"), TRpBandType::rbGroupFooter},
                                   {QStringLiteral("rbSubDetail"), TRpBandType::rbSubDetail},
                                   {QStringLiteral("rbColumnHeader"), TRpBandType::rbColumnHeader},
                                   {QStringLiteral("rbOverlay"), TRpBandType::rbOverlay},
                                   {QStringLiteral("rbWild"), TRpBandType::rbWild},
                                   {QStringLiteral("rbChild"), TRpBandType::rbChild}};

const Names<TRpUnit> Units{{QStringLiteral("MM"), TRpUnit::MM},
                           {QStringLiteral("Inches"), TRpUnit::Inches},
                           {QStringLiteral("Pixels"), TRpUnit::Pixels},
                           {QStringLiteral("Characters"), TRpUnit::Characters},
                           {QStringLiteral("Native"), TRpUnit::Native}};

const Names<TRpOrientation> Orientations{{QStringLiteral("Portrait"), TRpOrientation::Portrait},
                                         {QStringLiteral("Landscape"), TRpOrientation::Landscape}};

enum class OptionName { FirstPageHeader, LastPageFooter, Compression };
const Names<OptionName> OptionNames{
    {QStringLiteral("FirstPageHeader"), OptionName::FirstPageHeader},
    {QStringLiteral("LastPageFooter"), OptionName::LastPageFooter},
    {QStringLiteral("Compression"), OptionName::Compression}};

const Names<TFormStyle> FormStyles{{QStringLiteral("fsNormal"), TFormStyle::fsNormal},
                                   {QStringLiteral("fsStayOnTop"), TFormStyle::fsStayOnTop}};

const Names<TWindowState> WindowStates{{QStringLiteral("wsNormal"), TWindowState::wsNormal},
                                       {QStringLiteral("wsMinimized"), TWindowState::wsMinimized},
                                       {QStringLiteral("wsMaximized"), TWindowState::wsMaximized}};

const Names<TRpZoomState> ZoomStates{{QStringLiteral("rpZoomToFit"), TRpZoomState::rpZoomToFit},
                                     {QStringLiteral("rpZoomToWidth"), TRpZoomState::rpZoomToWidth},
                                     {QStringLiteral("rpZoomOther"), TRpZoomState::rpZoomOther},
                                     {QStringLiteral("rpZoom100"), TRpZoomState::rpZoom100}};

Names<TRpBin> BinNames() {
    const char *names[] = {"First",       "Upper",         "Lower",    "Middle",  "Manual",
                           "Envelope",    "EnvManual",     "Auto",     "Tractor", "SmallFormat",
                           "LargeFormat", "LargeCapacity", "Cassette", "Last"};
    Names<TRpBin> bins;
    for (int i = 0; i < int(std::size(names)); ++i)
        bins.emplace_back(QLatin1String(names[i]), TRpBin(i));
    return bins;
}

Names<TRpPaperSize> PaperNames() {
    const char *names[PaperSizeCount] = {"Default",
                                         "Letter",
                                         "LetterSmall",
                                         "Tabloid",
                                         "Ledger",
                                         "Legal",
                                         "Statement",
                                         "Executive",
                                         "A3",
                                         "A4",
                                         "A4Small",
                                         "A5",
                                         "B4",
                                         "B5",
                                         "Folio",
                                         "Quarto",
                                         "P10x14",
                                         "P11x17",
                                         "Note",
                                         "Env9",
                                         "Env10",
                                         "Env11",
                                         "Env12",
                                         "Env14",
                                         "CSheet",
                                         "DSheet",
                                         "ESheet",
                                         "EnvDL",
                                         "EnvC5",
                                         "EnvC3",
                                         "EnvC4",
                                         "EnvC6",
                                         "EnvC65",
                                         "EnvB4",
                                         "EnvB5",
                                         "EnvB6",
                                         "EnvItaly",
                                         "EnvMonarch",
                                         "EnvPersonal",
                                         "FanfoldUS",
                                         "FanfoldStdGerman",
                                         "FanfoldLglGerman",
                                         "ISOB4",
                                         "JapanesePostcard",
                                         "P9x11",
                                         "P10x11",
                                         "P15x11",
                                         "EnvInvite",
                                         "Reserved48",
                                         "Reserved49",
                                         "LetterExtra",
                                         "LegalExtra",
                                         "TabloidExtra",
                                         "A4Extra",
                                         "LetterTransverse",
                                         "A4Transverse",
                                         "LetterExtraTransverse",
                                         "APlus",
                                         "BPlus",
                                         "LetterPlus",
                                         "A4Plus",
                                         "A5Transverse",
                                         "B5Transverse",
                                         "A3Extra",
                                         "A5Extra",
                                         "B5Extra",
                                         "A2",
                                         "A3Transverse",
                                         "A3ExtraTrans",
                                         "Custom"};
    Names<TRpPaperSize> papers;
    for (int i = 0; i < PaperSizeCount; ++i)
        papers.emplace_back(QLatin1String(names[i]), TRpPaperSize(i));
    return papers;
}

// A font's height in pixels at the screen's resolution stands for its size in points;
// a negative height is the character height, as stored by the designer.
int PointsFromHeight(int height, int screenDpi) {
    return int(RoundHalfEven(-(long double)height * 72 / screenDpi));
}

platform::Font ReadFont(platform::Font font, const Value &value, int screenDpi) {
    struct Target {
        platform::Font font;
        int screenDpi;
    } target{std::move(font), screenDpi};
    static const std::vector<Property<Target>> table{
        {"Name", [](Target &t, const Value &v) { t.font.face = v.String(); }},
        {"Size", [](Target &t, const Value &v) { t.font.size = v.Int(); }},
        {"Height",
         [](Target &t, const Value &v) { t.font.size = PointsFromHeight(v.Int(), t.screenDpi); }},
        {"Style",
         [](Target &t, const Value &v) {
             const QSet<FontStyleName> styles = v.Set(FontStyles);
             t.font.style = {styles.contains(FontStyleName::Bold),
                             styles.contains(FontStyleName::Italic),
                             styles.contains(FontStyleName::Underline),
                             styles.contains(FontStyleName::StrikeOut)};
         }},
        {"Color", [](Target &t, const Value &v) { t.font.colour = v.Colour(); }},
        {"Charset", [](Target &t, const Value &v) { t.font.charset = v.Int(); }}};
    Apply(target, value.Object(), table, value.where);
    return target.font;
}

platform::Pen ReadPen(platform::Pen pen, const Value &value) {
    static const std::vector<Property<platform::Pen>> table{
        {"Color", [](platform::Pen &p, const Value &v) { p.colour = v.Colour(); }},
        {"Width", [](platform::Pen &p, const Value &v) { p.width = v.Int(); }},
        {"Style", [](platform::Pen &p, const Value &v) { p.style = v.Enum(PenStyles); }},
        {"Mode", [](platform::Pen &p, const Value &v) { p.mode = v.Enum(PenModes); }}};
    Apply(pen, value.Object(), table, value.where);
    return pen;
}

platform::Brush ReadBrush(platform::Brush brush, const Value &value) {
    static const std::vector<Property<platform::Brush>> table{
        {"Color", [](platform::Brush &b, const Value &v) { b.colour = v.Colour(); }},
        {"Style", [](platform::Brush &b, const Value &v) { b.style = v.Enum(BrushStyles); }}};
    Apply(brush, value.Object(), table, value.where);
    return brush;
}

void ReadFrame(TRpFrame &frame, const Value &value) {
    static const std::vector<Property<TRpFrame>> table{
        {"Color", [](TRpFrame &f, const Value &v) { f.Color = v.Colour(); }},
        {"DrawTop", [](TRpFrame &f, const Value &v) { f.DrawTop = v.Bool(); }},
        {"DrawBottom", [](TRpFrame &f, const Value &v) { f.DrawBottom = v.Bool(); }},
        {"DrawLeft", [](TRpFrame &f, const Value &v) { f.DrawLeft = v.Bool(); }},
        {"DrawRight", [](TRpFrame &f, const Value &v) { f.DrawRight = v.Bool(); }},
        {"Style", [](TRpFrame &f, const Value &v) { f.Style = v.Enum(PenStyles); }},
        {"Width", [](TRpFrame &f, const Value &v) { f.Width = v.Int(); }}};
    Apply(frame, value.Object(), table, value.where);
}

// The stored form of a geometry holder: {"Values": [...]}.
void ReadSize(TRpUnitBase &size, const Value &value) {
    static const std::vector<Property<TRpUnitBase>> table{
        {"Values", [](TRpUnitBase &s, const Value &v) {
             try {
                 s.ReadValues(v.Numbers());
             } catch (const platform::Error &e) {
                 Fail(v.where, e.message());
             }
         }}};
    Apply(size, value.Object(), table, value.where);
}

void ReadPage(TRpPage &page, const Value &value) {
    static const std::vector<Property<TRpPage>> table{
        {"PaperSize", [](TRpPage &p, const Value &v) { p.SetPaperSize(v.Enum(PaperNames())); }},
        {"Orientation", [](TRpPage &p, const Value &v) { p.SetOrientation(v.Enum(Orientations)); }},
        {"Columns", [](TRpPage &p, const Value &v) { p.SetColumns(v.Int()); }},
        {"Ruler", [](TRpPage &p, const Value &v) { p.Ruler = v.Bool(); }},
        {"Continuous", [](TRpPage &p, const Value &v) { p.Continuous = v.Bool(); }},
        {"Values", [](TRpPage &p, const Value &v) {
             try {
                 p.ReadValues(v.Numbers());
             } catch (const platform::Error &e) {
                 Fail(v.where, e.message());
             }
         }}};
    Apply(page, value.Object(), table, value.where);
}

void ReadPrinterSettings(TRpReportPrinterSettings &settings, const Value &value) {
    using S = TRpReportPrinterSettings;
    static const std::vector<Property<S>> table{
        {"PrinterIndex", [](S &s, const Value &v) { s.PrinterIndex = v.Int(); }},
        {"Copies", [](S &s, const Value &v) { s.Copies = v.Int(); }},
        {"OutputBin", [](S &s, const Value &v) { s.OutputBin = v.Enum(BinNames()); }},
        {"FirstPage", [](S &s, const Value &v) { s.FirstPage = v.Int(); }},
        {"LastPage", [](S &s, const Value &v) { s.LastPage = v.Int(); }},
        {"Duplex", [](S &s, const Value &v) { s.Duplex = v.Bool(); }},
        {"UseStandardprinter", [](S &s, const Value &v) { s.UseStandardprinter = v.Bool(); }},
        {"PrintMetaFile", [](S &s, const Value &v) { s.PrintMetaFile = v.Bool(); }},
        {"UseCustomBinCode", [](S &s, const Value &v) { s.UseCustomBinCode = v.Bool(); }},
        {"CustomBinCode", [](S &s, const Value &v) { s.CustomBinCode = v.Int(); }},
        {"UseCustomPaperCode", [](S &s, const Value &v) { s.UseCustomPaperCode = v.Bool(); }},
        {"CustomPaperCode", [](S &s, const Value &v) { s.CustomPaperCode = v.Int(); }},
        {"PrintQuality", [](S &s, const Value &v) { s.PrintQuality = v.Int(); }},
        {"Collate",
         [](S &s, const Value &v) { s.Collate = v.json.isBool() ? v.Bool() : v.Int() != 0; }},
        {"ColorOption", [](S &s, const Value &v) { s.ColorOption = v.Int(); }},
        {"ExtendedDuplex", [](S &s, const Value &v) { s.ExtendedDuplex = v.Int(); }}};
    Apply(settings, value.Object(), table, value.where);
}

// Properties every printable stores, in their declared order.
template <class T> std::vector<Property<T>> PrintableProperties() {
    return {
        {"Name", [](T &i, const Value &v) { i.SetName(v.String()); }},
        {"Tag", [](T &i, const Value &v) { i.Tag = v.Int(); }},
        {"Left", [](T &i, const Value &v) { i.SetLeft(v.Int()); }},
        {"Top", [](T &i, const Value &v) { i.SetTop(v.Int()); }},
        {"Width", [](T &i, const Value &v) { i.SetWidth(v.Int()); }},
        {"Height", [](T &i, const Value &v) { i.SetHeight(v.Int()); }},
        {"Enabled", [](T &i, const Value &v) { i.SetEnabled(v.Bool()); }},
        {"PreviewOnly", [](T &i, const Value &v) { i.SetPreviewOnly(v.Bool()); }},
        {"Frame", [](T &i, const Value &v) { ReadFrame(i.Frame(), v); }},
        {"Size", [](T &i, const Value &v) { ReadSize(i.Size(), v); }},
        {"XLColumn", [](T &i, const Value &v) { i.XLColumn = v.Int(); }},
        {"ExportAs", [](T &i, const Value &v) { i.ExportAs = v.Enum(ExportTypes); }},
    };
}

template <class T>
std::vector<Property<T>> With(std::vector<Property<T>> table, std::vector<Property<T>> more) {
    table.insert(table.end(), more.begin(), more.end());
    return table;
}

void ReadLabel(TRpLabel &label, const QJsonObject &json, const QString &where) {
    static const std::vector<Property<TRpLabel>> table = With(
        PrintableProperties<TRpLabel>(),
        {{"Alignment", [](TRpLabel &l, const Value &v) { l.SetAlignment(v.Enum(Alignments)); }},
         {"AlignToBand", [](TRpLabel &l, const Value &v) { l.SetAlignToBand(v.Bool()); }},
         {"AutoSize", [](TRpLabel &l, const Value &v) { l.AutoSize = v.Bool(); }},
         {"AutoStretch", [](TRpLabel &l, const Value &v) { l.AutoStretch = v.Bool(); }},
         {"Caption", [](TRpLabel &l, const Value &v) { l.SetCaption(v.String()); }},
         {"Color", [](TRpLabel &l, const Value &v) { l.SetColor(v.Colour()); }},
         {"Font",
          [](TRpLabel &l, const Value &v) {
              const int dpi = l.Report() ? l.Report()->ScreenDpi() : 96;
              l.SetFont(ReadFont(l.Font(), v, dpi));
          }},
         {"ParentFont", [](TRpLabel &l, const Value &v) { l.SetParentFont(v.Bool()); }},
         {"Transparent", [](TRpLabel &l, const Value &v) { l.Transparent = v.Bool(); }},
         {"WordWrap", [](TRpLabel &l, const Value &v) { l.WordWrap = v.Bool(); }},
         {"FontSize", [](TRpLabel &l, const Value &v) { l.SetFontSize(v.Int()); }}});
    Apply(label, json, table, where, {QStringLiteral("Class")});
}

void ReadShape(TRpShape &shape, const QJsonObject &json, const QString &where) {
    static const std::vector<Property<TRpShape>> table = With(
        PrintableProperties<TRpShape>(),
        {{"Shape", [](TRpShape &s, const Value &v) { s.Shape = v.Enum(ShapeTypes); }},
         {"Brush", [](TRpShape &s, const Value &v) { s.Brush = ReadBrush(s.Brush, v); }},
         {"Pen", [](TRpShape &s, const Value &v) { s.Pen = ReadPen(s.Pen, v); }},
         {"RoundFactor", [](TRpShape &s, const Value &v) { s.RoundFactor = float(v.Number()); }},
         {"VertAdjust", [](TRpShape &s, const Value &v) { s.VertAdjust = v.Int(); }}});
    Apply(shape, json, table, where, {QStringLiteral("Class")});
}

void ReadShadowRect(TRpShadowRect &rect, const QJsonObject &json, const QString &where) {
    using R = TRpShadowRect;
    static const std::vector<Property<R>> table =
        With(PrintableProperties<R>(),
             {{"Brush", [](R &r, const Value &v) { r.SetBrush(ReadBrush(r.Brush(), v)); }},
              {"Pen", [](R &r, const Value &v) { r.SetPen(ReadPen(r.Pen(), v)); }},
              {"ShadowBrush",
               [](R &r, const Value &v) { r.SetShadowBrush(ReadBrush(r.ShadowBrush(), v)); }},
              {"ShadowWidth", [](R &r, const Value &v) { r.SetShadowWidth(v.Int()); }},
              {"Curve", [](R &r, const Value &v) { r.SetCurve(v.Int()); }},
              {"Rounded", [](R &r, const Value &v) { r.SetRounded(v.Bool()); }},
              {"Visible", [](R &r, const Value &v) { r.ReadVisible(v.Bool()); }}});
    Apply(rect, json, table, where, {QStringLiteral("Class")});
}

class Loader {
public:
    explicit Loader(TRpReport &report) : report_(report) {}

    void Read(const QJsonObject &json) {
        ReadReport(json);
        if (json.contains(QLatin1String("Bands"))) {
            const QJsonArray bands =
                Value{json.value(QLatin1String("Bands")), QStringLiteral("Bands")}.Array();
            for (qsizetype i = 0; i < bands.size(); ++i)
                ReadBand(Value{bands[i], QStringLiteral("Bands[%1]").arg(i)});
        }
        if (json.contains(QLatin1String("Items"))) {
            const QJsonArray items =
                Value{json.value(QLatin1String("Items")), QStringLiteral("Items")}.Array();
            for (qsizetype i = 0; i < items.size(); ++i) {
                auto item = Create(Value{items[i], QStringLiteral("Items[%1]").arg(i)});
                report_.AddItem(std::move(item.first));
                ReadItem(*report_.Items().back(), item.second);
            }
        }
        // Loading ends in creation order: each band, then its items.
        for (const auto &band : report_.Bands()) {
            band->Loaded();
            for (const auto &item : band->Items())
                item->Loaded();
        }
        for (const auto &item : report_.Items())
            item->Loaded();
    }

private:
    void ReadReport(const QJsonObject &json) {
        static const std::vector<Property<TRpReport>> table{
            {"Name", [](TRpReport &r, const Value &v) { r.Name = v.String(); }},
            {"Units", [](TRpReport &r, const Value &v) { r.SetUnits(v.Enum(Units)); }},
            {"Zoom", [](TRpReport &r, const Value &v) { r.SetZoom(v.Int()); }},
            {"Page", [](TRpReport &r, const Value &v) { ReadPage(r.Page(), v); }},
            {"ReportTitle", [](TRpReport &r, const Value &v) { r.ReportTitle = v.String(); }},
            {"Frame", [](TRpReport &r, const Value &v) { ReadFrame(r.Frame(), v); }},
            {"Font",
             [](TRpReport &r, const Value &v) { r.SetFont(ReadFont(r.Font(), v, r.ScreenDpi())); }},
            {"Options",
             [](TRpReport &r, const Value &v) {
                 const QSet<OptionName> options = v.Set(OptionNames);
                 r.Options = {options.contains(OptionName::FirstPageHeader),
                              options.contains(OptionName::LastPageFooter),
                              options.contains(OptionName::Compression)};
             }},
            {"PrintIfEmpty", [](TRpReport &r, const Value &v) { r.PrintIfEmpty = v.Bool(); }},
            {"ShowProgress", [](TRpReport &r, const Value &v) { r.ShowProgress = v.Bool(); }},
            {"MemoryLimit", [](TRpReport &r, const Value &v) { r.MemoryLimit = v.Int(); }},
            {"PrinterSettings",
             [](TRpReport &r, const Value &v) { ReadPrinterSettings(r.PrinterSettings(), v); }},
            {"PrevFormStyle",
             [](TRpReport &r, const Value &v) { r.PrevFormStyle = v.Enum(FormStyles); }},
            {"PreviewInitialState",
             [](TRpReport &r, const Value &v) { r.PreviewInitialState = v.Enum(WindowStates); }},
            {"PrevInitialZoom",
             [](TRpReport &r, const Value &v) { r.PrevInitialZoom = v.Enum(ZoomStates); }},
            {"PreviewLeft", [](TRpReport &r, const Value &v) { r.PreviewLeft = v.Int(); }},
            {"PreviewTop", [](TRpReport &r, const Value &v) { r.PreviewTop = v.Int(); }},
            {"PreviewWidth", [](TRpReport &r, const Value &v) { r.PreviewWidth = v.Int(); }},
            {"PreviewHeight", [](TRpReport &r, const Value &v) { r.PreviewHeight = v.Int(); }}};
        Apply(report_, json, table, QStringLiteral("report"),
              {QStringLiteral("Bands"), QStringLiteral("Items"), QStringLiteral("Class")});
    }

    void ReadBand(const Value &value) {
        static const std::vector<Property<TRpBand>> table{
            {"Name", [](TRpBand &b, const Value &v) { b.Name = v.String(); }},
            {"BandType", [](TRpBand &b, const Value &v) { b.BandType = v.Enum(BandTypes); }},
            {"Size", [](TRpBand &b, const Value &v) { ReadSize(b.Size(), v); }},
            {"Color", [](TRpBand &b, const Value &v) { b.Color = v.Colour(); }},
            {"TransparentBand", [](TRpBand &b, const Value &v) { b.TransparentBand = v.Bool(); }},
            {"Enabled", [](TRpBand &b, const Value &v) { b.Enabled = v.Bool(); }},
            {"Frame", [](TRpBand &b, const Value &v) { ReadFrame(b.Frame(), v); }},
            {"Font",
             [](TRpBand &b, const Value &v) {
                 const int dpi = b.Report() ? b.Report()->ScreenDpi() : 96;
                 b.SetFont(ReadFont(b.Font(), v, dpi));
             }},
            {"ParentFont", [](TRpBand &b, const Value &v) { b.SetParentFont(v.Bool()); }},
            {"AlignToBottom", [](TRpBand &b, const Value &v) { b.AlignToBottom = v.Bool(); }},
            {"ForceNewColumn", [](TRpBand &b, const Value &v) { b.ForceNewColumn = v.Bool(); }},
            {"ForceNewPage", [](TRpBand &b, const Value &v) { b.ForceNewPage = v.Bool(); }},
            {"KeepOnOnePage", [](TRpBand &b, const Value &v) { b.KeepOnOnePage = v.Bool(); }},
            {"PreCalculateBandHeight",
             [](TRpBand &b, const Value &v) { b.PreCalculateBandHeight = v.Bool(); }}};
        const QJsonObject json = value.Object();
        if (json.contains(QLatin1String("Class")) &&
            json.value(QLatin1String("Class")) != QLatin1String("TRpBand"))
            Fail(value.where, QStringLiteral("a band must be of class TRpBand"));
        TRpBand &band = report_.AddBand(std::make_unique<TRpBand>());
        Apply(band, json, table, Where(value.where, json),
              {QStringLiteral("Class"), QStringLiteral("Items")});
        if (!json.contains(QLatin1String("Items")))
            return;
        const QString where = Where(value.where, json) + QStringLiteral(".Items");
        const QJsonArray items = Value{json.value(QLatin1String("Items")), where}.Array();
        for (qsizetype i = 0; i < items.size(); ++i) {
            auto item = Create(Value{items[i], QStringLiteral("%1[%2]").arg(where).arg(i)});
            TRpPrintable &placed = band.Add(std::move(item.first));
            ReadItem(placed, item.second);
        }
    }

    struct Stored {
        QJsonObject json;
        QString where;
    };

    // A new item of the stored class with its new-item values, loading from the start.
    std::pair<std::unique_ptr<TRpPrintable>, Stored> Create(const Value &value) {
        const QJsonObject json = value.Object();
        const QString where = Where(value.where, json);
        const QString kind =
            Value{json.value(QLatin1String("Class")), where + QStringLiteral(".Class")}.String();
        std::unique_ptr<TRpPrintable> item;
        if (kind == QLatin1String("TRpLabel"))
            item = std::make_unique<TRpLabel>();
        else if (kind == QLatin1String("TRpShape"))
            item = std::make_unique<TRpShape>();
        else if (kind == QLatin1String("TRpShadowRect"))
            item = std::make_unique<TRpShadowRect>();
        else
            Fail(where, QStringLiteral("unknown class \"%1\"").arg(kind));
        const QString name = json.value(QLatin1String("Name")).toString();
        if (!name.isEmpty() && report_.FindItem(name))
            Fail(where, QStringLiteral("a second item named \"%1\"").arg(name));
        item->BeginLoading();
        return {std::move(item), Stored{json, where}};
    }

    void ReadItem(TRpPrintable &item, const Stored &stored) {
        if (auto *label = dynamic_cast<TRpLabel *>(&item))
            ReadLabel(*label, stored.json, stored.where);
        else if (auto *shape = dynamic_cast<TRpShape *>(&item))
            ReadShape(*shape, stored.json, stored.where);
        else if (auto *rect = dynamic_cast<TRpShadowRect *>(&item))
            ReadShadowRect(*rect, stored.json, stored.where);
    }

    // Messages name an object by its stored name where it has one.
    static QString Where(const QString &position, const QJsonObject &json) {
        const QString name = json.value(QLatin1String("Name")).toString();
        return name.isEmpty() ? position : name;
    }

    TRpReport &report_;
};

} // namespace

std::unique_ptr<TRpReport> ReadReportDefinition(const QByteArray &json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        Fail(QStringLiteral("offset %1").arg(error.offset), error.errorString());
    if (!document.isObject())
        Fail(QStringLiteral("top level"), QStringLiteral("an object expected"));
    auto report = std::make_unique<TRpReport>();
    Loader(*report).Read(document.object());
    return report;
}

std::unique_ptr<TRpReport> ReadReportDefinitionFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Fail(path, file.errorString());
    return ReadReportDefinition(file.readAll());
}
