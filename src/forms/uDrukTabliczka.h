// The plate report: one substitute nameplate on an A4 portrait page, a single title band
// with the plate's fifteen printables and, beneath them, the sheet's ten position outlines. A fresh
// instance is made for every preview or print.
#pragma once

#include <QString>

#include <array>
#include <memory>

class TRpBand;
class TRpLabel;
class TRpReport;
class TRpShadowRect;
class TRpShape;

class TfDrukTabliczka {
public:
    // Loads the whole stored definition.
    TfDrukTabliczka();
    ~TfDrukTabliczka();
    TfDrukTabliczka(const TfDrukTabliczka &) = delete;
    TfDrukTabliczka &operator=(const TfDrukTabliczka &) = delete;

    // The stored definition, as compiled into the program.
    static QString DefinitionPath();

    TRpReport *RpReport1 = nullptr;
    TRpBand *RpBand1 = nullptr;
    TRpShape *RpShape1 = nullptr;
    TRpShadowRect *RpShadowRect1 = nullptr;
    TRpLabel *RpLabel1 = nullptr;
    TRpShadowRect *RpShadowRect2 = nullptr;
    TRpShadowRect *RpShadowRect3 = nullptr;
    TRpShadowRect *RpShadowRect4 = nullptr;
    TRpShadowRect *RpShadowRect5 = nullptr;
    TRpLabel *RpLabel2 = nullptr;
    TRpLabel *RpLabel3 = nullptr;
    TRpLabel *RpLabel4 = nullptr;
    TRpLabel *RpLabel5 = nullptr;
    TRpLabel *RpLabel6 = nullptr;
    TRpLabel *RpLabel7 = nullptr;
    TRpLabel *RpLabel8 = nullptr;
    TRpLabel *RpLabel9 = nullptr;
    // The outlines of the sheet's pre-cut positions RpShape2 .. RpShape11, by marker; they
    // show in page images only.
    std::array<TRpShape *, 10> SheetOutlines{};

private:
    std::unique_ptr<TRpReport> report_;
};
