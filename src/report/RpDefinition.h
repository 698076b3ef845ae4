// Report definitions as data: a report, its page, bands and printables read from JSON form
// data. Items are created with their new-item values, their stored properties applied in
// the order the class declares them, and then the loading rules run: the stored
// Size.Values decide, stored pixel bounds count only where Values give 0 pixels, a label's
// FontSize becomes its font size, a shadow rectangle's Visible becomes Enabled.
//
// {
//   "Name": "RpReport1", "Units": "MM", "Zoom": 100, "ReportTitle": "Quendrel",
//   "Page": { "PaperSize": "A4", "Orientation": "Portrait", "Columns": 1,
//             "Values": [100, 2970, 100, 2100, 100, 100, 0] },
//   "Font": { "Name": "Arial", "Height": -13, "Charset": 238, "Color": "clWindowText" },
//   "Options": ["FirstPageHeader", "LastPageFooter"],
//   "PrinterSettings": { "Copies": 1, "OutputBin": "Auto" },
//   "Bands": [ { "Name": "RpBand1", "BandType": "rbTitle", "Color": "clWhite",
//                "Size": { "Values": [2770.1875, 1899.7083333333333] },
//                "Items": [
//     { "Class": "TRpShape", "Name": "RpShape1", "Pen": { "Color": 16777215 },
//       "Size": { "Values": [582.0833333333334, 74.08333333333333, 55.5625,
//                            933.9791666666666] } },
//     { "Class": "TRpLabel", "Name": "RpLabel1", "Caption": "Tekst", "AutoSize": false,
//       "Alignment": "taCenter", "Transparent": true, "ParentFont": false, "FontSize": 12,
//       "Font": { "Name": "Times New Roman", "Height": -16, "Style": ["fsBold"] } } ] } ]
// }
#pragma once

#include "report/RpReport.h"

#include <QByteArray>
#include <QString>

#include <memory>

// A new report from a definition; a definition that cannot be read raises platform::Error
// naming the place and the fault.
std::unique_ptr<TRpReport> ReadReportDefinition(const QByteArray &json);
// The same from a file or a resource (":/...").
std::unique_ptr<TRpReport> ReadReportDefinitionFile(const QString &path);
