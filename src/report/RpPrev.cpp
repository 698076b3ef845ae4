#include "RpPrev.h"

#include "report/RpPrntr.h"
#include "report/RpReport.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int ButtonWidth = 77;
constexpr int ToolBarHeight = 36;
constexpr int StatusBarHeight = 19;
constexpr int RestoredSize = 500;

// The tool-bar pictures, 16 x 16, by their number in the window's picture list.
enum Picture {
    FitHeight = 0,
    Actual = 1,
    FitWidth = 2,
    First = 3,
    Previous = 4,
    Next = 5,
    Last = 6,
    Exit = 11
};

QIcon PictureIcon(int picture) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x20, 0x30, 0x60);
    const auto page = [&p] {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3.5, 1.5, 9, 13));
    };
    const auto triangle = [&p, &ink](qreal tipX, qreal baseX) {
        QPainterPath path;
        path.moveTo(tipX, 8);
        path.lineTo(baseX, 3);
        path.lineTo(baseX, 13);
        path.closeSubpath();
        p.fillPath(path, ink);
    };
    switch (picture) {
    case FitHeight:
        page();
        p.setPen(QPen(ink, 1.5));
        p.drawLine(QPointF(8, 3.5), QPointF(8, 12.5));
        p.drawLine(QPointF(6, 5.5), QPointF(8, 3.5));
        p.drawLine(QPointF(10, 5.5), QPointF(8, 3.5));
        p.drawLine(QPointF(6, 10.5), QPointF(8, 12.5));
        p.drawLine(QPointF(10, 10.5), QPointF(8, 12.5));
        break;
    case FitWidth:
        page();
        p.setPen(QPen(ink, 1.5));
        p.drawLine(QPointF(5, 8), QPointF(11, 8));
        p.drawLine(QPointF(7, 6), QPointF(5, 8));
        p.drawLine(QPointF(7, 10), QPointF(5, 8));
        p.drawLine(QPointF(9, 6), QPointF(11, 8));
        p.drawLine(QPointF(9, 10), QPointF(11, 8));
        break;
    case Actual:
        p.setPen(QPen(ink, 1.5));
        p.setBrush(QColor(0xdd, 0xee, 0xff));
        p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
        p.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 10), QPointF(14, 14));
        break;
    case First:
        p.fillRect(QRectF(2, 3, 2, 10), ink);
        triangle(5, 13);
        break;
    case Previous:
        triangle(4, 12);
        break;
    case Next:
        triangle(12, 4);
        break;
    case Last:
        triangle(11, 3);
        p.fillRect(QRectF(12, 3, 2, 10), ink);
        break;
    case Exit:
        p.setPen(QPen(QColor(0xb0, 0x20, 0x20), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    }
    return QIcon(pixmap);
}

QLabel *Panel(QWidget *parent, int width, const QString &text, bool bevel) {
    auto *panel = new QLabel(text, parent);
    panel->setFixedWidth(width);
    panel->setAlignment(Qt::AlignCenter);
    if (bevel)
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return panel;
}

void Divider(QWidget *toolBar, const char *name, int left) {
    auto *line = new QFrame(toolBar);
    line->setObjectName(QLatin1String(name));
    line->setFrameStyle(QFrame::VLine | QFrame::Sunken);
    line->setGeometry(left, 0, 4, ToolBarHeight);
}

} // namespace

TRpStandardPreview::TRpStandardPreview() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("TRpStandardPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Print Preview"));
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);
    setAutoFillBackground(true);
    // The forms' font: MS Sans Serif of 8 points, 11 pixels high.
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    ToolBar1 = new QWidget(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setFixedHeight(ToolBarHeight);
    ZoomFit = AddButton("ZoomFit", 0, QStringLiteral("Wysokość"),
                        QStringLiteral("Skaluj do wysokości strony"), FitHeight);
    Zoom100 =
        AddButton("Zoom100", 77, QStringLiteral("100%"), QStringLiteral("Skaluj do 100%"), Actual);
    ZoomToWidth = AddButton("ZoomToWidth", 154, QStringLiteral("Szerokość"),
                            QStringLiteral("Skaluj do szerokości strony"), FitWidth);
    Divider(ToolBar1, "Separator1", 231);
    FirstPage = AddButton("FirstPage", 235, QStringLiteral("Pierwsza"),
                          QStringLiteral("Pierwsza strona"), First);
    PreviousPage = AddButton("PreviousPage", 312, QStringLiteral("Poprzednia"),
                             QStringLiteral("Poprzednia strona"), Previous);
    NextPage = AddButton("NextPage", 389, QStringLiteral("Następna"),
                         QStringLiteral("Następna strona"), Next);
    LastPage = AddButton("LastPage", 466, QStringLiteral("Ostatnia"),
                         QStringLiteral("Ostatnia strona"), Last);
    Divider(ToolBar1, "Separator2", 543);
    ExitButton = AddButton("ExitButton", 639, QStringLiteral("Zamknij <Esc>"),
                           QStringLiteral("Zamknij podgląd"), Exit);
    Divider(ToolBar1, "Separator3", 716);

    zoomGroup_ = new QButtonGroup(this);
    zoomGroup_->setExclusive(true);
    for (QToolButton *toggle : {ZoomFit, Zoom100, ZoomToWidth}) {
        toggle->setCheckable(true);
        zoomGroup_->addButton(toggle);
    }
    connect(ZoomFit, &QToolButton::clicked, this, &TRpStandardPreview::ZoomToFitClick);
    connect(Zoom100, &QToolButton::clicked, this, &TRpStandardPreview::ZoomTo100Click);
    connect(ZoomToWidth, &QToolButton::clicked, this, &TRpStandardPreview::ZoomToWidthClick);
    connect(FirstPage, &QToolButton::clicked, this, &TRpStandardPreview::FirstPageClick);
    connect(PreviousPage, &QToolButton::clicked, this, &TRpStandardPreview::PrevPageClick);
    connect(NextPage, &QToolButton::clicked, this, &TRpStandardPreview::NextPageClick);
    connect(LastPage, &QToolButton::clicked, this, &TRpStandardPreview::LastPageClick);
    connect(ExitButton, &QToolButton::clicked, this, &TRpStandardPreview::ExitClick);

    RpPreview = new TRpPreview(this);
    RpPreview->setObjectName(QStringLiteral("RpPreview"));
    RpPreview->OnPageAvailable = [this](TRpPreview *sender, int pageCount) {
        RpPreviewPageAvailable(sender, pageCount);
    };
    RpPreview->OnProgressUpdate = [this](TRpPreview *sender, int progress) {
        RpPreviewProgressUpdate(sender, progress);
    };
    // A job let go while the window is open (the report is being destroyed) leaves
    // nothing to show.
    RpPreview->OnJobReleased = [this](TRpPreview *) { close(); };

    StatusBar = new QWidget(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setFixedHeight(StatusBarHeight);
    auto *panels = new QHBoxLayout(StatusBar);
    panels->setContentsMargins(0, 0, 0, 0);
    panels->setSpacing(2);
    Panels = {Panel(StatusBar, 50, QStringLiteral("0%"), true),
              Panel(StatusBar, 150, QStringLiteral("Strona"), true),
              Panel(StatusBar, 50, QStringLiteral("Merovan"), false)};
    for (QLabel *panel : Panels)
        panels->addWidget(panel);
    panels->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(RpPreview, 1);
    layout->addWidget(StatusBar);

    WatchKeys(this);
}

QToolButton *TRpStandardPreview::AddButton(const char *name, int left, const QString &caption,
                                           const QString &hint, int picture) {
    auto *button = new QToolButton(ToolBar1);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(left, 0, ButtonWidth, ToolBarHeight);
    button->setText(caption);
    button->setToolTip(hint);
    button->setIcon(PictureIcon(picture));
    button->setIconSize(QSize(16, 16));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    return button;
}

void TRpStandardPreview::WatchKeys(QWidget *widget) {
    widget->installEventFilter(this);
    for (QWidget *child : widget->findChildren<QWidget *>())
        child->installEventFilter(this);
}

TRpStandardPreview *TRpStandardPreview::ShowPreview(TRpPrinter &job) {
    auto *window = new TRpStandardPreview;
    QSize restored(RestoredSize, RestoredSize);
    TRpOrientation orientation = job.Settings().Orientation;
    if (const TRpReport *report = job.Report()) {
        window->setWindowFlag(Qt::WindowStaysOnTopHint,
                              report->PrevFormStyle == TFormStyle::fsStayOnTop);
        restored = QSize(report->PreviewWidth > 0 ? report->PreviewWidth : RestoredSize,
                         report->PreviewHeight > 0 ? report->PreviewHeight : RestoredSize);
        job.Title = report->ReportTitle;
        orientation = report->Page().Orientation();
    }
    window->resize(restored);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
    QCoreApplication::processEvents();

    window->RpPreview->ZoomToWidth();
    window->RpPreview->Attach(&job);
    job.Settings().Orientation = orientation;
    if (!job.Title.isEmpty())
        window->setWindowTitle(QStringLiteral("Report Preview : ") + job.Title);
    window->lastProgress_ = 0;
    // The window always starts zoomed to the page's width.
    window->RpPreview->ZoomToWidth();
    window->ZoomToWidth->setChecked(true);
    // A borderless window cannot be restored by the operator; it fills the screen even where
    // no window manager carries out the maximizing.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window->setGeometry(screen->availableGeometry());
    window->showMaximized();
    window->WritePageText();
    return window;
}

void TRpStandardPreview::WritePageText() {
    const TRpPrinter *job = RpPreview->Job();
    Panels[1]->setText(QStringLiteral("Strona  %1 z %2")
                           .arg(RpPreview->PageNumber())
                           .arg(job ? job->PageCount() : 0));
}

void TRpStandardPreview::RpPreviewPageAvailable(TRpPreview *, int) {
    WritePageText();
    const TRpPrinter *job = RpPreview->Job();
    // The preview opens on the part of the page its report asks for, once.
    if (job && job->Report() && !focused_ && !job->Report()->PreviewFocus.isEmpty()) {
        focused_ = true;
        RpPreview->ShowPart(job->Report()->PreviewFocus);
    }
    const bool finished = job && job->Status() == TRpJobStatus::Finished;
    for (QToolButton *button : {FirstPage, PreviousPage, NextPage, LastPage})
        button->setEnabled(finished);
}

void TRpStandardPreview::RpPreviewProgressUpdate(TRpPreview *, int progress) {
    if (progress >= lastProgress_ + 5) {
        Panels[0]->setText(QString::number(progress) + u'%');
        lastProgress_ = progress;
    }
    if (progress == 0 || progress == 100)
        Panels[0]->clear();
}

void TRpStandardPreview::ZoomToFitClick() {
    QCoreApplication::processEvents();
    RpPreview->ZoomToFit();
}

void TRpStandardPreview::ZoomTo100Click() {
    QCoreApplication::processEvents();
    RpPreview->Zoom100();
}

void TRpStandardPreview::ZoomToWidthClick() {
    QCoreApplication::processEvents();
    RpPreview->ZoomToWidth();
}

void TRpStandardPreview::FirstPageClick() {
    RpPreview->SetPageNumber(1);
    WritePageText();
}

void TRpStandardPreview::PrevPageClick() {
    RpPreview->SetPageNumber(RpPreview->PageNumber() - 1);
    WritePageText();
}

void TRpStandardPreview::NextPageClick() {
    RpPreview->SetPageNumber(RpPreview->PageNumber() + 1);
    WritePageText();
}

void TRpStandardPreview::LastPageClick() {
    if (const TRpPrinter *job = RpPreview->Job())
        RpPreview->SetPageNumber(job->Status() == TRpJobStatus::Finished ? job->PageCount()
                                                                         : job->PageCount() - 1);
    WritePageText();
}

void TRpStandardPreview::ExitClick() {
    close();
}

void TRpStandardPreview::KeyUp() {
    QScrollBar *bar = RpPreview->verticalScrollBar();
    const int step = RpPreview->LineStep();
    if (bar->value() - step > 0) {
        bar->setValue(bar->value() - step);
        return;
    }
    const int page = RpPreview->PageNumber();
    PrevPageClick();
    // Onto the foot of the page before.
    bar->setValue(page >= 2 ? RpPreview->ScrollRange() - RpPreview->viewport()->height() - step
                            : 0);
}

void TRpStandardPreview::KeyDown() {
    QScrollBar *bar = RpPreview->verticalScrollBar();
    const int step = RpPreview->LineStep();
    if (bar->value() + step < RpPreview->ScrollRange() - RpPreview->viewport()->height())
        bar->setValue(bar->value() + step);
    else
        NextPageClick();
}

bool TRpStandardPreview::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const bool ctrlAlone =
        (modifiers & Qt::ControlModifier) && !(modifiers & (Qt::ShiftModifier | Qt::AltModifier));
    try {
        switch (key) {
        case Qt::Key_Escape:
            ExitClick();
            break;
        case Qt::Key_PageUp:
            ctrlAlone ? FirstPageClick() : PrevPageClick();
            break;
        case Qt::Key_PageDown:
            ctrlAlone ? LastPageClick() : NextPageClick();
            break;
        case Qt::Key_End:
            LastPageClick();
            break;
        case Qt::Key_Home:
            FirstPageClick();
            break;
        case Qt::Key_Up:
            KeyUp();
            break;
        case Qt::Key_Down:
            KeyDown();
            break;
        default:
            return false;
        }
    } catch (...) {
        // A key that cannot be served is ignored; the preview stays as it was.
    }
    return true;
}

bool TRpStandardPreview::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        return FormKeyDown(key->key(), key->modifiers());
    }
    if (event->type() == QEvent::Wheel) {
        FormKeyDown(static_cast<QWheelEvent *>(event)->angleDelta().y() > 0 ? Qt::Key_Up
                                                                            : Qt::Key_Down,
                    Qt::NoModifier);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TRpStandardPreview::closeEvent(QCloseEvent *event) {
    TRpPrinter *job = RpPreview->Job();
    if (job && job->Status() == TRpJobStatus::Busy) {
        event->ignore();
        return;
    }
    // The report lets the job go here, which detaches the page area.
    if (job)
        job->ClosePreview();
    QCoreApplication::processEvents();
    event->accept();
}
