#include "forms/uDrukTabliczka.h"

#include "platform/Application.h"
#include "report/RpBand.h"
#include "report/RpCtrls.h"
#include "report/RpDefinition.h"
#include "report/RpReport.h"
#include "report/rpSwRect.h"

// The resource lives in a static library: make sure it is linked in and registered.
static void RegisterDefinitionResource() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(uDrukTabliczka);
        return true;
    }();
    (void)registered;
}

namespace {

template <class Item> Item *Named(const TRpReport &report, const char *name) {
    Item *item = report.Find<Item>(QLatin1String(name));
    if (!item)
        throw platform::Error(
            QStringLiteral("Report definition: no item %1").arg(QLatin1String(name)));
    return item;
}

} // namespace

QString TfDrukTabliczka::DefinitionPath() {
    return QStringLiteral(":/forms/plate/uDrukTabliczka.json");
}

TfDrukTabliczka::TfDrukTabliczka() {
    RegisterDefinitionResource();
    report_ = ReadReportDefinitionFile(DefinitionPath());
    RpReport1 = report_.get();
    RpBand1 = report_->FindBand(TRpBandType::rbTitle);
    if (!RpBand1)
        throw platform::Error(QStringLiteral("Report definition: no title band"));
    RpShape1 = Named<TRpShape>(*report_, "RpShape1");
    RpShadowRect1 = Named<TRpShadowRect>(*report_, "RpShadowRect1");
    RpLabel1 = Named<TRpLabel>(*report_, "RpLabel1");
    RpShadowRect2 = Named<TRpShadowRect>(*report_, "RpShadowRect2");
    RpShadowRect3 = Named<TRpShadowRect>(*report_, "RpShadowRect3");
    RpShadowRect4 = Named<TRpShadowRect>(*report_, "RpShadowRect4");
    RpShadowRect5 = Named<TRpShadowRect>(*report_, "RpShadowRect5");
    RpLabel2 = Named<TRpLabel>(*report_, "RpLabel2");
    RpLabel3 = Named<TRpLabel>(*report_, "RpLabel3");
    RpLabel4 = Named<TRpLabel>(*report_, "RpLabel4");
    RpLabel5 = Named<TRpLabel>(*report_, "RpLabel5");
    RpLabel6 = Named<TRpLabel>(*report_, "RpLabel6");
    RpLabel7 = Named<TRpLabel>(*report_, "RpLabel7");
    RpLabel8 = Named<TRpLabel>(*report_, "RpLabel8");
    RpLabel9 = Named<TRpLabel>(*report_, "RpLabel9");
    for (std::size_t i = 0; i < SheetOutlines.size(); ++i)
        SheetOutlines[i] =
            Named<TRpShape>(*report_, QStringLiteral("RpShape%1").arg(i + 2).toLatin1());
}

TfDrukTabliczka::~TfDrukTabliczka() = default;
