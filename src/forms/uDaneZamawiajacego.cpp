#include "uDaneZamawiajacego.h"

#include "forms/controls/TBitBtn.h"
#include "forms/controls/TEdit.h"
#include "forms/controls/TPanel.h"
#include "platform/Colour.h"
#include "uWspolne.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace {

struct FieldRow {
    const char16_t *caption;
    QRect labelBounds;
    int top;
    int width;
    int maxLength;
};

// Labels right-aligned 10 pixels left of the fields; fields at left 120, 21 high.
constexpr FieldRow kFields[TfDaneZamawiajacego::FieldCount] = {
    {u"Zamawiający", {48, 16, 62, 13}, 12, 397, 255},
    {u"Kod pocztowy", {43, 42, 67, 13}, 38, 121, 6},
    {u"Miejscowość", {49, 68, 61, 13}, 64, 265, 128},
    {u"Adres", {83, 94, 27, 13}, 90, 265, 128},
    {u"NIP", {92, 120, 18, 13}, 116, 121, 16},
    {u"Telefon", {74, 146, 36, 13}, 142, 121, 32},
    {u"Mail", {91, 172, 19, 13}, 168, 121, 32},
    {u"Oznaczenie SKP", {30, 198, 80, 13}, 194, 121, 12},
    {u"Inne", {89, 224, 21, 13}, 220, 397, 255},
};

constexpr int kFieldLeft = 120;
constexpr int kFieldHeight = 21;
constexpr QSize kGlyphSize(18, 18);
constexpr int kGlyphSpacing = 8;

} // namespace

TfDaneZamawiajacego::TfDaneZamawiajacego() : QDialog(nullptr) {
    setObjectName(QStringLiteral("fDaneZamawiajacego"));
    setWindowTitle(QStringLiteral("Dane Zamawiającego"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, platform::ToQColor(platform::clBtnFace));
    colours.setColor(QPalette::WindowText, platform::ToQColor(platform::clWindowText));
    setPalette(colours);
    setAutoFillBackground(true);

    // Creation order is the tab order: the fields, then the panel with its two buttons.
    CreateFields();
    CreateButtons();

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

TfDaneZamawiajacego::~TfDaneZamawiajacego() = default;

void TfDaneZamawiajacego::CreateFields() {
    for (int i = 0; i < FieldCount; ++i) {
        const FieldRow &row = kFields[i];
        auto *label = new QLabel(QString::fromUtf16(row.caption), this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        // The caption grows to the left when this font is wider than the design's, so the
        // right edges stay lined up.
        QRect bounds = row.labelBounds;
        bounds.setLeft(bounds.right() + 1 - std::max(bounds.width(), label->sizeHint().width()));
        label->setGeometry(bounds);

        auto *edit = new TEdit(this);
        const QString name = QStringLiteral("Edit%1").arg(i + 1);
        edit->setObjectName(name);
        edit->setText(name); // the definition's text, which CLEARDATA empties
        edit->setGeometry(kFieldLeft, row.top, row.width, kFieldHeight);
        edit->SetMaxLength(row.maxLength);
        edit->OnEnter = [this](QWidget *sender) { Edit1Enter(sender); };
        edit->OnExit = [this](QWidget *sender) { Edit1Exit(sender); };
        edit->OnKeyDown = [this](QWidget *sender, int key, Qt::KeyboardModifiers shift) {
            Edit1KeyDown(sender, key, shift);
        };
        Edits[i] = edit;
    }
}

void TfDaneZamawiajacego::CreateButtons() {
    Panel1 = new TPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 254, ClientWidth, 41);

    const auto make = [this](const char *name, const QString &caption, int left,
                             const QIcon &glyph) {
        auto *button = new TBitBtn(caption, Panel1);
        button->setObjectName(QLatin1String(name));
        button->setGeometry(left, 1, 121, 41);
        button->SetGlyph(glyph, kGlyphSize);
        button->SetSpacing(kGlyphSpacing);
        return button;
    };
    BitBtn1 = make("BitBtn1", QStringLiteral("Anuluj <Esc>"), 0,
                   QIcon::fromTheme(QStringLiteral("dialog-cancel"),
                                    style()->standardIcon(QStyle::SP_DialogCancelButton)));
    BitBtn1->SetCancel(true);
    connect(BitBtn1, &TBitBtn::clicked, this, &TfDaneZamawiajacego::BitBtn1Click);
    BitBtn2 = make("BitBtn2", QStringLiteral("Zatwierdź"), 408,
                   QIcon::fromTheme(QStringLiteral("dialog-ok"),
                                    style()->standardIcon(QStyle::SP_DialogOkButton)));
    connect(BitBtn2, &TBitBtn::clicked, this, [this] { done(mrOk); });
}

void TfDaneZamawiajacego::CLEARDATA() {
    for (TEdit *edit : findChildren<TEdit *>())
        edit->clear();
}

void TfDaneZamawiajacego::BitBtn1Click() {
    close();
}

void TfDaneZamawiajacego::reject() {
    done(mrCancel);
}

void TfDaneZamawiajacego::Edit1Enter(QWidget *sender) {
    SetEnterColour(sender);
}

void TfDaneZamawiajacego::Edit1Exit(QWidget *sender) {
    SetExitColour(sender);
}

void TfDaneZamawiajacego::Edit1KeyDown(QWidget *sender, int key, Qt::KeyboardModifiers) {
    NavigateOnEnter(this, sender, key, FieldCount, BitBtn2);
}

TEdit *TfDaneZamawiajacego::Edit(int n) const {
    return Edits.at(n - 1);
}

void TfDaneZamawiajacego::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    Edits[0]->setFocus(Qt::ActiveWindowFocusReason);
}
