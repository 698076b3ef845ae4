// The sheets of printer calibration on plain A4: four marks far apart, each with a vernier that
// makes a tenth of a millimetre readable against an ordinary ruler, an unmistakable sign of
// the paper's top, and the steps in Polish. The calibration sheet is printed without
// correction; the check sheet, its marks elsewhere, with the stored one, which it names.
// Each is the plate report with the plate's items off and the sheet's on, so it prints
// through exactly the job a plate does.
#pragma once

#include "forms/kalibracja/Calibration.h"

#include <QString>

#include <memory>

class TfDrukTabliczka;

std::unique_ptr<TfDrukTabliczka> MakeCalibrationSheet(const QString &printer,
                                                      TCalibrationSheet sheet,
                                                      const TCalibrationValues &printedWith = {});
