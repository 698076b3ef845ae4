#include "uMain.h"

#include "OrderMessage.h"
#include "forms/controls/TBitBtn.h"
#include "forms/controls/TEdit.h"
#include "forms/controls/TPanel.h"
#include "forms/controls/TPrinterList.h"
#include "forms/controls/TRadioGroup.h"
#include "forms/controls/TShape.h"
#include "forms/kalibracja/Calibration.h"
#include "platform/Application.h"
#include "platform/FontRegistry.h"
#include "platform/Messages.h"
#include "platform/PrinterSystem.h"
#include "platform/Service.h"
#include "report/RpReport.h"
#include "settings/uRegistry.h"
#include "uWspolne.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QRadioButton>
#include <QScreen>
#include <QStyledItemDelegate>

namespace {

// Sheet picker: the two columns of markers and their rows in each sheet layout.
constexpr std::array<int, 2> ColumnLeft{26, 122};
constexpr int MarkerWidth = 93;
constexpr int MarkerHeight = 59;
constexpr int RowsOf8 = 4;
constexpr int FirstTopOf8 = 32;
constexpr int PitchOf8 = 70;
constexpr int FirstTopOf10 = 12;
constexpr int PitchOf10 = 62;
constexpr int RowsPerColumn = 5;

const QString Setup = QStringLiteral("Setup");
const QString Dane = QStringLiteral("Dane");

QString FieldName(int n) {
    return QStringLiteral("Edit%1").arg(n);
}

TSettingsValue Read(const QString &section, const QString &name, TSettingsTag type,
                    const TSettingsValue &defaultValue) {
    return ReadFromHKCUkey(platform::ApplicationTitle(), section, name, int(type), defaultValue);
}

QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text, QRect bounds,
                  Qt::Alignment alignment = Qt::AlignLeft, bool wordWrap = false) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setWordWrap(wordWrap);
    label->setGeometry(bounds);
    return label;
}

TPanel *MakePanel(QWidget *parent, const char *name, QRect bounds, bool lowered) {
    auto *panel = new TPanel(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setGeometry(bounds);
    if (!lowered)
        panel->setFrameStyle(QFrame::NoFrame);
    return panel;
}

// Printer list rows of a fixed height, whatever the style would make of them.
class FixedRowDelegate final : public QStyledItemDelegate {
public:
    FixedRowDelegate(int height, QObject *parent) : QStyledItemDelegate(parent), height_(height) {}
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(height_);
        return size;
    }

private:
    int height_;
};

// A style that drops the list down as a list of at most maxVisibleItems rows; styles that
// open it like a menu show every printer at once.
class ListPopupStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

TfMain::TfMain(QWidget *parent) : QWidget(parent) {
    // The button pictures live in this static library, which nothing else references.
    Q_INIT_RESOURCE(uMain);
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(QStringLiteral("Druk Tabliczki"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    // The client area keeps its size and everything in it its place; the window grows by
    // the menu bar above it.
    CreateMenu();
    Client = new QWidget(this);
    Client->setObjectName(QStringLiteral("Client"));
    Client->setGeometry(0, MenuBar->height(), ClientWidth, ClientHeight);
    setFixedSize(ClientWidth, MenuBar->height() + ClientHeight);
    CreatePanels();
    CreateSheetPicker();
    CreatePlateFields();
    CreatePrinterChoice();
    CreateButtons();
    SetTabOrder();
    CreateAccessibleNames();
    // The window opens on the first control in tab order.
    BitBtn1->setFocus();

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

TfMain::~TfMain() = default;

void TfMain::CreatePanels() {
    Panel1 = MakePanel(Client, "Panel1", {0, 0, ClientWidth, 51}, true);
    Panel3 = MakePanel(Client, "Panel3", {0, 51, ClientWidth, 354}, false);
    Panel2 = MakePanel(Client, "Panel2", {0, 405, ClientWidth, 41}, true);
    Label1 = MakeLabel(
        Panel1, "Label1",
        QStringLiteral("Proszę wybrać etykietę do zadrukowania oraz drukarkę i nacisnąć odpowiedni "
                       "klawisz (\"Podgląd\" lub \"Druk\").  UWAGA !  Ze względu na dużą "
                       "sztywność folii aluminiowej - ustawić drukarkę w tryb druku \"bez "
                       "zawijania\" arkusza."),
        {16, 6, 525, 39}, Qt::AlignLeft, true);
}

void TfMain::CreateSheetPicker() {
    // The sheet is created first so that it lies beneath the markers.
    Shape11 = new TShape(TShape::Kind::Rectangle, Panel3);
    Shape11->setObjectName(QStringLiteral("Shape11"));
    Shape11->setGeometry(16, 9, 209, 321);
    Shape11->SetBrushColor(platform::clGray);
    // The miniature is one stop of the tab order: arrows move a focus frame among the
    // markers, Space or Enter chooses the framed one, a digit chooses its position at once.
    Shape11->setFocusPolicy(Qt::StrongFocus);
    Shape11->installEventFilter(this);
    for (int i = 0; i < MarkerCount; ++i) {
        auto *marker = new TShape(TShape::Kind::RoundRect, Panel3);
        marker->setObjectName(QStringLiteral("Shape%1").arg(i + 1));
        marker->setGeometry(ColumnLeft[i / RowsPerColumn], 0, MarkerWidth, MarkerHeight);
        // A choice among the sheet's positions from the start: assistive technology learns
        // what a control is when it first shows.
        marker->SetChoice(false);
        marker->setAccessibleDescription(QStringLiteral("Pozycja tabliczki na arkuszu folii"));
        marker->hide();
        connect(marker, &TShape::MouseDown, this,
                [this](TShape *sender) { platform::Guarded([&] { ShapeMouseDown(sender); }); });
        Shapes[i] = marker;
    }

    RadioGroup1 = new TRadioGroup(QStringLiteral(" Wybór arkusza "),
                                  {QStringLiteral("8 szt."), QStringLiteral("10 szt.")}, Panel3);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setGeometry(248, 144, 97, 103);
    RadioGroup1->setToolTip(QStringLiteral("Wybierz wg posiadanych arkuszy"));
    RadioGroup1->SetItemIndex(0);
    connect(RadioGroup1, &TRadioGroup::Click, this,
            [this] { platform::Guarded([this] { RadioGroup1Click(); }); });
}

void TfMain::CreatePlateFields() {
    MakeLabel(Panel3, "Label5", QStringLiteral("Marka ") + QString(36, u'.'), {244, 16, 141, 13});
    MakeLabel(Panel3, "Label6", QStringLiteral("Model ") + QString(34, u'.'), {244, 40, 134, 13});
    MakeLabel(Panel3, "Label7", QStringLiteral("Numer nadwozia ") + QString(19, u'.'),
              {244, 64, 139, 13});
    MakeLabel(Panel3, "Label2", QStringLiteral("Wyróżnik SKP ") + QString(24, u'.'),
              {244, 88, 143, 13});

    constexpr std::array<int, FieldCount> MaxLength{32, 32, 20, 9};
    for (int i = 0; i < FieldCount; ++i) {
        auto *edit = new TEdit(Panel3);
        edit->setObjectName(FieldName(i + 1));
        edit->setGeometry(344, 12 + 24 * i, 197, 21);
        edit->SetMaxLength(MaxLength[i]);
        edit->SetUpperCase(true);
        edit->OnEnter = [this](QWidget *sender) { Edit1Enter(sender); };
        edit->OnExit = [this](QWidget *sender) { Edit1Exit(sender); };
        edit->OnKeyDown = [this](QWidget *sender, int key, Qt::KeyboardModifiers shift) {
            Edit1KeyDown(sender, key, shift);
        };
        Edits[i] = edit;
    }
}

void TfMain::CreatePrinterChoice() {
    MakeLabel(
        Panel3, "Label3",
        QStringLiteral("Drukowanie tabliczek jest możliwe tylko i wyłącznie na drukarkach "
                       "laserowych lub termotransferowych z użyciem atestowanych materiałów."),
        {377, 146, 164, 65}, Qt::AlignRight, true);
    QLabel *label4 =
        MakeLabel(Panel3, "Label4", QStringLiteral("Wybór drukarki :"), {248, 262, 78, 13});
    // It grows to the right to show its whole colon in the substitute font; nothing lies there.
    label4->resize(std::max(label4->width(), label4->sizeHint().width()), label4->height());

    cbDrukarka = new TPrinterList(Panel3);
    cbDrukarka->setObjectName(QStringLiteral("cbDrukarka"));
    cbDrukarka->setGeometry(248, 282, 297, 24);
    QFont font = cbDrukarka->font();
    font.setPixelSize(13);
    cbDrukarka->setFont(font);
    auto *style = new ListPopupStyle(QApplication::style()->name());
    style->setParent(cbDrukarka);
    cbDrukarka->setStyle(style);
    cbDrukarka->setMaxVisibleItems(16);
    cbDrukarka->setItemDelegate(new FixedRowDelegate(16, cbDrukarka));
    // The right button offers the selected printer's calibration.
    cbDrukarka->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(cbDrukarka, &QComboBox::customContextMenuRequested, this, [this](const QPoint &at) {
        QMenu menu(cbDrukarka);
        menu.addAction(QStringLiteral("Kalibracja drukarki…"), this, [this] { OpenCalibration(); });
        menu.exec(cbDrukarka->mapToGlobal(at));
    });

    // Whether the printer shown is calibrated, and since when: read when the tooltip shows,
    // so start-up reads nothing more.
    cbDrukarka->installEventFilter(this);

    CheckBox1 =
        new QCheckBox(QStringLiteral("zawsze używaj tej drukarki do druku tabliczek"), Panel3);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(248, 314, 293, 17);
}

void TfMain::CreateButtons() {
    const auto make = [this](const char *name, const QString &caption, QRect bounds,
                             const QString &glyph, void (TfMain::*handler)()) {
        auto *button = new TBitBtn(caption, Panel2);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(bounds);
        button->SetGlyph(QIcon(glyph), QSize(24, 24));
        button->SetSpacing(12);
        connect(button, &TBitBtn::clicked, this,
                [this, handler] { platform::Guarded([&] { (this->*handler)(); }); });
        return button;
    };
    BitBtn1 = make("BitBtn1", QStringLiteral("&Podgląd"), {0, 1, 131, 41},
                   QStringLiteral(":/uMain/icons/preview.png"), &TfMain::BitBtn1Click);
    BitBtn2 = make("BitBtn2", QStringLiteral("&Drukowanie"), {130, 1, 131, 41},
                   QStringLiteral(":/uMain/icons/print.png"), &TfMain::BitBtn2Click);
    BitBtn4 = make("BitBtn4", QStringLiteral("&Zamówienie folii"), {260, 1, 171, 41},
                   QStringLiteral(":/uMain/icons/order.png"), &TfMain::BitBtn4Click);
    BitBtn3 = make("BitBtn3", QStringLiteral("Koniec <Esc>"), {430, 1, 131, 41},
                   QStringLiteral(":/uMain/icons/quit.png"), &TfMain::BitBtn3Click);
    BitBtn3->SetCancel(true);
}

// What a screen reader says of each control: the fields by their labels (each label is its
// field's buddy), the sheet, the printer list, the buttons.
void TfMain::CreateAccessibleNames() {
    const std::array<std::pair<const char *, const char *>, FieldCount> fields{{
        {"Marka", "Marka pojazdu, do 32 znaków, wielkimi literami"},
        {"Model", "Model pojazdu, do 32 znaków"},
        {"Numer nadwozia", "Numer nadwozia (podwozia lub ramy), do 20 znaków"},
        {"Wyróżnik SKP", "Wyróżnik stacji kontroli pojazdów, do 9 znaków"},
    }};
    const std::array<const char *, FieldCount> labels{"Label5", "Label6", "Label7", "Label2"};
    for (int i = 0; i < FieldCount; ++i) {
        Edits[i]->setAccessibleName(QString::fromUtf8(fields[i].first));
        Edits[i]->setAccessibleDescription(QString::fromUtf8(fields[i].second));
        Panel3->findChild<QLabel *>(QLatin1String(labels[i]))->setBuddy(Edits[i]);
    }
    RadioGroup1->setAccessibleName(QStringLiteral("Wybór arkusza"));
    RadioGroup1->setAccessibleDescription(QStringLiteral("Arkusz folii włożony do drukarki"));
    Shape11->setAccessibleName(QStringLiteral("Arkusz — wybór pozycji"));
    Shape11->setAccessibleDescription(
        QStringLiteral("Strzałki przesuwają ramkę po pozycjach, spacja lub Enter wybiera "
                       "pozycję, cyfry 1–9 i 0 wybierają pozycje 1–10"));
    Panel3->findChild<QLabel *>(QStringLiteral("Label4"))->setBuddy(cbDrukarka);
    cbDrukarka->setAccessibleName(QStringLiteral("Wybór drukarki"));
    cbDrukarka->setAccessibleDescription(
        QStringLiteral("Drukarka, na której drukuje się tabliczki"));
    CheckBox1->setAccessibleName(CheckBox1->text());
    const std::array<std::tuple<TBitBtn *, const char *, const char *>, 4> buttons{{
        {BitBtn1, "Podgląd", "Pokazuje tabliczkę na arkuszu, niczego nie drukuje"},
        {BitBtn2, "Drukowanie", "Drukuje tabliczkę na wybranej pozycji arkusza"},
        {BitBtn4, "Zamówienie folii", "Przygotowuje e-mail z zamówieniem folii"},
        {BitBtn3, "Koniec", "Zapisuje ustawienia i kończy program"},
    }};
    for (const auto &[button, name, description] : buttons) {
        button->setAccessibleName(QString::fromUtf8(name));
        button->setAccessibleDescription(QString::fromUtf8(description));
    }
}

// Panels in the order Panel2, Panel3, Panel1; within each panel by tab number.
void TfMain::SetTabOrder() {
    // The sheet choice takes the focus on its items.
    std::vector<QWidget *> order{BitBtn1, BitBtn2, BitBtn4, BitBtn3};
    for (QRadioButton *item : RadioGroup1->findChildren<QRadioButton *>())
        order.push_back(item);
    order.insert(order.end(),
                 {Shape11, cbDrukarka, CheckBox1, Edits[0], Edits[1], Edits[2], Edits[3]});
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TfMain::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    platform::Guarded([this] { FormShow(); });
}

void TfMain::closeEvent(QCloseEvent *event) {
    if (printing_) {
        // A job left waiting at a stopped printer would print later, unseen; the window
        // closes once the cancelled print has ended.
        event->ignore();
        if (platform::Ask(QStringLiteral("Tabliczka jeszcze się drukuje. Anulować wydruk i "
                                         "zakończyć program?"),
                          false)) {
            closeAfterPrint_ = true;
            printing_->CancelPrint();
        }
        return;
    }
    // A save the store refuses keeps the window open, so nothing typed is lost; from the
    // second refusal on the operator may end without saving.
    if (!platform::Guarded([this] { FormClose(); })) {
        const bool again = saveRefused_;
        saveRefused_ = true;
        if (!again || !platform::Ask(QStringLiteral("Zakończyć bez zapisania ustawień?"), false)) {
            event->ignore();
            return;
        }
    }
    event->accept();
    // The run ends with this window: a preview still open closes and lets its job go.
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top != this && top->isVisible())
            top->close();
}

void TfMain::FormShow() {
    platform::SetApplicationTitle(QStringLiteral("Merovan"));
    // The selection colour is the fixed platform::SelectionColour.

    cbDrukarka->clear();
    cbDrukarka->Refresh();
    cbDrukarka->setCurrentIndex(0);

    RestoreSettings();
    ReadSheets();
    RadioGroup1Click();
    CheckFont();
}

void TfMain::RestoreSettings() {
    CheckBox1->setChecked(Read(Setup, QStringLiteral("CheckBox1"), TSettingsTag::Boolean,
                               TSettingsValue::Boolean(false))
                              .toBool());
    RadioGroup1->SetItemIndex(Read(Setup, QStringLiteral("RadioGroup1"), TSettingsTag::Integer,
                                   TSettingsValue::Integer(0))
                                  .toInt());
    if (CheckBox1->isChecked()) {
        // The printer by its name when it is still installed: queues added or removed since
        // move the others in the list.
        const QString name = Read(Setup, QStringLiteral("cbDrukarkaNazwa"), TSettingsTag::String,
                                  TSettingsValue::Text(QString()))
                                 .toText();
        const int index = Read(Setup, QStringLiteral("cbDrukarka"), TSettingsTag::Integer,
                               TSettingsValue::Integer(0))
                              .toInt();
        if (name.isEmpty() || !cbDrukarka->Choose(name))
            cbDrukarka->setCurrentIndex(index >= 0 && index < cbDrukarka->count() ? index : -1);
    }
    for (int i = 0; i < FieldCount; ++i)
        Edits[i]->setText(
            Read(Dane, FieldName(i + 1), TSettingsTag::String, TSettingsValue::Text(QString()))
                .toText());
}

void TfMain::CheckFont() {
    auto &fonts = platform::Service<platform::FontRegistry>::get();
    if (fonts.fileExists(fonts.fontsFolder() + QStringLiteral("/dravik_.ttf")))
        return;
    // Nothing in the system names this font, so a failed registration changes nothing the
    // operator could act on: it is dropped silently.
    try {
        RegisterFontFile(QStringLiteral("Dravik_.ttf"));
    } catch (...) {
    }
}

void TfMain::FormClose() {
    // One write: a close cut short leaves all the old values or all the new ones.
    std::vector<TSettingsEntry> values{
        {Setup, QStringLiteral("CheckBox1"), TSettingsValue::Boolean(CheckBox1->isChecked())},
        {Setup, QStringLiteral("RadioGroup1"), TSettingsValue::Integer(RadioGroup1->ItemIndex())},
        {Setup, QStringLiteral("cbDrukarka"), TSettingsValue::Integer(cbDrukarka->currentIndex())},
        {Setup, QStringLiteral("cbDrukarkaNazwa"), TSettingsValue::Text(cbDrukarka->Chosen())}};
    for (int i = 0; i < FieldCount; ++i)
        values.push_back({Dane, FieldName(i + 1), TSettingsValue::Text(Edits[i]->text())});
    WriteValuesToHKCUkey(platform::ApplicationTitle(), values);
}

void TfMain::BitBtn1Click() {
    Drukowanie(0);
}

void TfMain::BitBtn2Click() {
    Drukowanie(1);
}

void TfMain::BitBtn3Click() {
    close();
}

void TfMain::BitBtn4Click() {
    OrderFoil();
}

void TfMain::RadioGroup1Click() {
    const bool eightPositions = RadioGroup1->ItemIndex() == 0;
    for (int i = 0; i < MarkerCount; ++i) {
        TShape *marker = Shapes[i];
        const int row = i % RowsPerColumn;
        if (eightPositions && row >= RowsOf8) {
            marker->hide(); // its top is kept
            continue;
        }
        const int top =
            eightPositions ? FirstTopOf8 + PitchOf8 * row : FirstTopOf10 + PitchOf10 * row;
        marker->move(marker->x(), top);
        marker->show();
    }
    ShowSheetState();
}

void TfMain::ResetShapeow() {
    for (TShape *marker : Shapes)
        marker->SetBrushColor(platform::clWhite);
    ShowSheetState();
}

void TfMain::ShapeMouseDown(TShape *sender) {
    ResetShapeow();
    sender->SetBrushColor(platform::SelectionColour);
    ShowSheetState();
}

void TfMain::Edit1Enter(QWidget *sender) {
    SetEnterColour(sender);
}

void TfMain::Edit1Exit(QWidget *sender) {
    SetExitColour(sender);
}

void TfMain::Edit1KeyDown(QWidget *sender, int key, Qt::KeyboardModifiers) {
    NavigateOnEnter(this, sender, key, FieldCount, BitBtn2);
}

TEdit *TfMain::Edit(int n) const {
    return Edits.at(std::size_t(n - 1));
}

QString TfMain::EditText(int n) const {
    return Edit(n)->text();
}

int TfMain::RadioGroup1ItemIndex() const {
    return RadioGroup1->ItemIndex();
}

TShape *TfMain::Shape(int n) const {
    return Shapes.at(std::size_t(n - 1));
}

platform::TColor TfMain::ShapeColor(int n) const {
    return Shape(n)->BrushColor();
}

int TfMain::cbDrukarkaItemIndex() const {
    return cbDrukarka->currentIndex();
}

QString TfMain::cbDrukarkaChosen() const {
    return cbDrukarka->Chosen();
}

bool TfMain::CheckBox1Checked() const {
    return CheckBox1->isChecked();
}

void TfMain::SetCheckBox1Checked(bool checked) {
    CheckBox1->setChecked(checked);
}
