// The main window's memory of the loaded foil sheet and its position picker from the
// keyboard. The markers' fill colours stay the whole selection state; what a position's use
// adds is drawn over them (a cross), and each marker carries its position's number.
#include "forms/uMain.h"

#include "forms/controls/TPrinterList.h"
#include "forms/controls/TShape.h"
#include "forms/kalibracja/Calibration.h"
#include "forms/uDrukowanie.h"
#include "platform/Application.h"
#include "platform/Messages.h"

#include <QAction>
#include <QKeyEvent>

namespace {

// The number of a marker's position on the sheet; 0 when the layout has no such marker.
int PositionOfMarker(int sheetLayout, int marker) {
    const std::span<const int> markers = LayoutMarkers(sheetLayout);
    const auto found = std::find(markers.begin(), markers.end(), marker);
    return found == markers.end() ? 0 : int(found - markers.begin()) + 1;
}

int MarkerOfPosition(int sheetLayout, int position) {
    const std::span<const int> markers = LayoutMarkers(sheetLayout);
    return position >= 1 && position <= int(markers.size()) ? markers[std::size_t(position - 1)]
                                                            : 0;
}

QString SheetName(int sheetLayout) {
    return QStringLiteral("arkusza %1 szt.").arg(TSheetState::PositionCount(sheetLayout));
}

} // namespace

int TfMain::ChosenPosition() const {
    for (const int marker : LayoutMarkers(RadioGroup1ItemIndex()))
        if (ShapeColor(marker) == platform::SelectionColour)
            return PositionOfMarker(RadioGroup1ItemIndex(), marker);
    return 0;
}

void TfMain::ReadSheets() {
    for (const int layout : {0, 1})
        sheets_[std::size_t(layout)] = ReadSheet(platform::ApplicationTitle(), layout);
}

void TfMain::StoreSheet(const TSheetState &sheet) {
    // What is shown is what is stored, whether the store took the change or refused it.
    struct Reread {
        TfMain &window;
        ~Reread() {
            window.ReadSheets();
            window.ShowSheetState();
        }
    } reread{*this};
    WriteSheet(platform::ApplicationTitle(), sheet);
}

void TfMain::ShowSheetState() {
    const int layout = RadioGroup1ItemIndex();
    const TSheetState sheet = Sheet();
    for (int marker = 1; marker <= MarkerCount; ++marker) {
        TShape *shape = Shape(marker);
        const int position = PositionOfMarker(layout, marker);
        const bool chosen = shape->BrushColor() == platform::SelectionColour;
        const bool used = sheet.Used(position);
        shape->SetNumber(position);
        shape->SetCrossed(used);
        shape->SetChoice(chosen);
        shape->SetFocusFrame(marker == focusedMarker_);
        const QString state = chosen && used ? QStringLiteral("wybrana, wykorzystana")
                              : chosen       ? QStringLiteral("wybrana")
                              : used         ? QStringLiteral("wykorzystana")
                                             : QStringLiteral("wolna");
        const QString name =
            position == 0 ? QString() : QStringLiteral("Pozycja %1 — %2").arg(position).arg(state);
        shape->setToolTip(name);
        shape->setAccessibleName(name);
    }
    const int chosen = ChosenPosition();
    ActionMarkUsed->setEnabled(chosen != 0 && !sheet.Used(chosen));
    ActionMarkFree->setEnabled(chosen != 0 && sheet.Used(chosen));
}

void TfMain::NowyArkusz() {
    const int layout = RadioGroup1ItemIndex();
    if (!platform::Ask(QStringLiteral("Włożono nowy arkusz? Wszystkie pozycje %1 będą znów "
                                      "wolne.")
                           .arg(SheetName(layout)),
                       true))
        return;
    StoreSheet(TSheetState(layout, 0));
}

void TfMain::OznaczPozycje(bool used) {
    const int position = ChosenPosition();
    if (position == 0) {
        platform::ShowMessage(platform::MessageKind::Information,
                              QStringLiteral("Nie zaznaczono pola do druku."));
        return;
    }
    StoreSheet(Sheet().With(position, used));
}

void TfMain::PositionPrinted(int position) {
    StoreSheet(Sheet().With(position, true));
    if (Sheet().UsedUp())
        platform::ShowMessage(platform::MessageKind::Information,
                              QStringLiteral("Arkusz jest wykorzystany. Włóż nowy arkusz i wybierz "
                                             "Arkusz → Nowy arkusz."));
}

bool TfMain::eventFilter(QObject *watched, QEvent *event) {
    if (watched == cbDrukarka && event->type() == QEvent::ToolTip)
        cbDrukarka->setToolTip(CalibrationNote(cbDrukarka->Chosen()));
    if (watched != Shape11)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn: {
        const int chosen = MarkerOfPosition(RadioGroup1ItemIndex(), ChosenPosition());
        FocusMarker(chosen != 0 ? chosen : LayoutMarkers(RadioGroup1ItemIndex()).front());
        break;
    }
    case QEvent::FocusOut:
        FocusMarker(0);
        break;
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier))
            break;
        bool handled = false;
        platform::Guarded([&] { handled = PickerKey(key->key()); });
        return handled;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TfMain::FocusMarker(int marker) {
    focusedMarker_ = marker;
    ShowSheetState();
}

bool TfMain::PickerKey(int key) {
    const int layout = RadioGroup1ItemIndex();
    const int rows = TSheetState::PositionCount(layout) / 2;
    // Markers 1–5 are the left column, 6–10 the right one, each from the top.
    const int column = (focusedMarker_ - 1) / 5;
    const int row = (focusedMarker_ - 1) % 5;
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        FocusMarker((key == Qt::Key_Left ? 0 : 1) * 5 + row + 1);
        return true;
    case Qt::Key_Up:
        FocusMarker(column * 5 + std::max(row - 1, 0) + 1);
        return true;
    case Qt::Key_Down:
        FocusMarker(column * 5 + std::min(row + 1, rows - 1) + 1);
        return true;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ShapeMouseDown(Shape(focusedMarker_));
        return true;
    default:
        break;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        const int marker = MarkerOfPosition(layout, key == Qt::Key_0 ? 10 : key - Qt::Key_0);
        if (marker != 0) {
            focusedMarker_ = marker;
            ShapeMouseDown(Shape(marker));
        }
        return true;
    }
    return false;
}
