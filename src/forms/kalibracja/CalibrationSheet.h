// The calibration sheet: four marks far apart on plain A4, each with a vernier that makes a
// tenth of a millimetre readable against an ordinary ruler, and the instructions in Polish.
// It is the plate report with the plate's items off and the sheet's on, so it prints through
// exactly the job a plate does.
#pragma once

#include <QString>

#include <memory>

class TfDrukTabliczka;

std::unique_ptr<TfDrukTabliczka> MakeCalibrationSheet(const QString &printer);
