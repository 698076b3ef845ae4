// A report laid out like the plate: A4 in millimetres, one title band and the fifteen
// items in their drawing order, each stored size a whole number of 96-dpi pixels.
#pragma once

#include "report/RpCtrls.h"
#include "report/RpDefinition.h"

#include <QByteArray>

#include <memory>

inline QByteArray PlateLikeDefinition()
{
    return QByteArrayLiteral(R"json({
 "Name": "RpReport1",
 "Units": "MM",
 "Zoom": 100,
 "Page": {"PaperSize": "A4", "Orientation": "Portrait", "Columns": 1, "Continuous": false, "Values": [100, 2970, 100, 2100, 100, 100, 0]},
 "ReportTitle": "Quendrel",
 "Frame": {"DrawTop": false, "DrawBottom": false, "DrawLeft": false, "DrawRight": false, "Color": "clBlack"},
 "Font": {"Name": "Arial", "Height": -13, "Charset": 238, "Style": [], "Color": "clWindowText"},
 "Options": ["FirstPageHeader", "LastPageFooter"],
 "PrintIfEmpty": true,
 "PrinterSettings": {"Copies": 1, "OutputBin": "Auto", "Duplex": false, "FirstPage": 0, "LastPage": 0, "UseStandardprinter": false, "UseCustomBinCode": false, "CustomBinCode": 0, "ExtendedDuplex": 0, "UseCustomPaperCode": false, "CustomPaperCode": 0, "PrintMetaFile": false, "PrintQuality": 0, "Collate": 0, "ColorOption": 0},
 "PrevFormStyle": "fsNormal",
 "PreviewInitialState": "wsNormal",
 "PrevInitialZoom": "rpZoomToFit",
 "PreviewLeft": 0,
 "PreviewTop": 0,
 "Bands": [{"Name": "RpBand1", "BandType": "rbTitle", "Size": {"Values": [2770.1875, 1899.7083333333333]}, "Color": 16777215, "TransparentBand": false, "Items": [
  {"Class": "TRpShape", "Name": "RpShape1", "Left": 28, "Top": 21, "Width": 353, "Height": 220, "Size": {"Values": [582.0833333333334, 74.08333333333333, 55.5625, 933.9791666666666]}, "Pen": {"Color": 16777215}},
  {"Class": "TRpShadowRect", "Name": "RpShadowRect1", "Left": 58, "Top": 42, "Width": 297, "Height": 25, "Size": {"Values": [66.14583333333333, 153.45833333333334, 111.125, 785.8125]}, "Pen": {"Color": 16777215}, "Curve": 30, "ShadowBrush": {"Color": 8421504}, "ShadowWidth": 0, "Rounded": false},
  {"Class": "TRpLabel", "Name": "RpLabel1", "Left": 66, "Top": 44, "Width": 280, "Height": 20, "Size": {"Values": [52.916666666666664, 174.625, 116.41666666666667, 740.8333333333334]}, "AutoSize": false, "Alignment": "taCenter", "Caption": "Tabliczka znamionowa zastępcza", "Color": 16777215, "Font": {"Charset": 238, "Color": "clWindowText", "Height": -16, "Name": "Times New Roman", "Style": ["fsBold"]}, "ParentFont": false, "Transparent": true, "WordWrap": true, "FontSize": 12},
  {"Class": "TRpShadowRect", "Name": "RpShadowRect2", "Left": 58, "Top": 70, "Width": 297, "Height": 37, "Size": {"Values": [97.89583333333333, 153.45833333333334, 185.20833333333334, 785.8125]}, "Pen": {"Color": 16777215}, "Curve": 30, "ShadowBrush": {"Color": 8421504}, "ShadowWidth": 0, "Rounded": false},
  {"Class": "TRpShadowRect", "Name": "RpShadowRect3", "Left": 58, "Top": 110, "Width": 297, "Height": 37, "Size": {"Values": [97.89583333333333, 153.45833333333334, 291.0416666666667, 785.8125]}, "Pen": {"Color": 16777215}, "Curve": 30, "ShadowBrush": {"Color": 8421504}, "ShadowWidth": 0, "Rounded": false},
  {"Class": "TRpShadowRect", "Name": "RpShadowRect4", "Left": 58, "Top": 150, "Width": 297, "Height": 37, "Size": {"Values": [97.89583333333333, 153.45833333333334, 396.875, 785.8125]}, "Pen": {"Color": 16777215}, "Curve": 30, "ShadowBrush": {"Color": 8421504}, "ShadowWidth": 0, "Rounded": false},
  {"Class": "TRpShadowRect", "Name": "RpShadowRect5", "Left": 58, "Top": 190, "Width": 297, "Height": 31, "Size": {"Values": [82.02083333333333, 153.45833333333334, 502.7083333333333, 785.8125]}, "Pen": {"Color": 16777215}, "Curve": 30, "ShadowBrush": {"Color": 8421504}, "ShadowWidth": 0, "Rounded": false},
  {"Class": "TRpLabel", "Name": "RpLabel2", "Left": 250, "Top": 196, "Width": 97, "Height": 20, "Size": {"Values": [52.916666666666664, 661.4583333333334, 518.5833333333334, 256.6458333333333]}, "AutoSize": false, "Alignment": "taRightJustify", "Caption": "RpLabel2", "Color": 16777215, "Font": {"Charset": 238, "Color": "clWindowText", "Height": -16, "Name": "Times New Roman", "Style": ["fsBold"]}, "ParentFont": false, "Transparent": true, "WordWrap": true, "FontSize": 12},
  {"Class": "TRpLabel", "Name": "RpLabel3", "Left": 66, "Top": 196, "Width": 152, "Height": 20, "Size": {"Values": [52.916666666666664, 174.625, 518.5833333333334, 402.1666666666667]}, "Alignment": "taLeftJustify", "Caption": "Tabliczka wykonana przez :", "Color": 16777215, "Font": {"Charset": 238, "Color": "clWindowText", "Height": -13, "Name": "Times New Roman", "Style": ["fsBold"]}, "ParentFont": false, "Transparent": true, "WordWrap": true, "FontSize": 10},
  {"Class": "TRpLabel", "Name": "RpLabel4", "Left": 66, "Top": 72, "Width": 38, "Height": 18, "Size": {"Values": [47.625, 174.625, 190.5, 100.54166666666667]}, "Alignment": "taLeftJustify", "Caption": "Marka", "Color": 16777215, "Font": {"Charset": 238, "Color": "clWindowText", "Height": -13, "Name": "Times New Roman", "Style": ["fsBold"]}, "ParentFont": false, "Transparent": false, "WordWrap": true, "FontSize": 10},
  {"Class": "TRpLabel", "Name": "RpLabel5", "Left": 66, "Top": 112, "Width": 58, "Height": 18, "Size": {"Values": [47.625, 174.625, 296.3333333333333, 153.45833333333334]}, "Alignment": "taLeftJustify", "Caption": "Typ/Model", "Color": 16777215, "Font": {"Charset": 238, "Color": "clWindowText", "Height": -13, "Name": "Times New Roman", "Style": ["fsBold"]}, "ParentFont": false, "Transparent": false, "WordWrap": true, "FontSize": 10},
  {"Class": "TRpLabel", "Name": "RpLabel6", "Left": 66, "Top": 152, "Width": 178, "Height": 18, "Size": {"Values": [47.625, 174.625, 402.1666666666667, 470.9583333333333]}, "Alignment": "taLeftJustify", "Caption": "Nr nadwozia (podwozia lub ramy)", "Color": 16777215, "Font": {"Charset": 238, "Color": "clWindowText", "Height": -13, "Name": "Times New Roman", "Style": ["fsBold"]}, "ParentFont": false, "Transparent": false, "WordWrap": true, "FontSize": 10},
  {"Class": "TRpLabel", "Name": "RpLabel7", "Left": 66, "Top": 86, "Width": 280, "Height": 20, "Size": {"Values": [52.916666666666664, 174.625, 227.54166666666666, 740.8333333333334]}, "AutoSize": false, "Alignment": "taRightJustify", "Caption": "RpLabel7", "Color": 16777215, "Font": {"Charset": 238, "Color": "clWindowText", "Height": -16, "Name": "Times New Roman", "Style": ["fsBold"]}, "ParentFont": false, "Transparent": true, "WordWrap": true, "FontSize": 12},
  {"Class": "TRpLabel", "Name": "RpLabel8", "Left": 66, "Top": 126, "Width": 280, "Height": 20, "Size": {"Values": [52.916666666666664, 174.625, 333.375, 740.8333333333334]}, "AutoSize": false, "Alignment": "taRightJustify", "Caption": "RpLabel8", "Color": 16777215, "Font": {"Charset": 238, "Color": "clWindowText", "Height": -16, "Name": "Times New Roman", "Style": ["fsBold"]}, "ParentFont": false, "Transparent": true, "WordWrap": true, "FontSize": 12},
  {"Class": "TRpLabel", "Name": "RpLabel9", "Left": 66, "Top": 166, "Width": 280, "Height": 23, "Size": {"Values": [60.854166666666664, 174.625, 439.2083333333333, 740.8333333333334]}, "AutoSize": false, "Alignment": "taRightJustify", "Caption": "RpLabel9", "Color": 16777215, "Font": {"Charset": 1, "Color": "clWindowText", "Height": -19, "Name": "Consolas", "Style": []}, "ParentFont": false, "Transparent": true, "WordWrap": true, "FontSize": 14}
 ]}]
})json");
}

// The plate-like report with the four operator's texts filled in.
inline std::unique_ptr<TRpReport> FilledPlate()
{
    auto report = ReadReportDefinition(PlateLikeDefinition());
    report->Find<TRpLabel>("RpLabel7")->SetCaption("VOLKSWAGEN");
    report->Find<TRpLabel>("RpLabel8")->SetCaption("GOLF");
    report->Find<TRpLabel>("RpLabel9")->SetCaption("WVWZZZ1JZXW000001");
    report->Find<TRpLabel>("RpLabel2")->SetCaption("SKP-0001");
    return report;
}
