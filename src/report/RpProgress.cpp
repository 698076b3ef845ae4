#include "RpProgress.h"

#include "report/RpPrntr.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr int FollowWidth = 360;
constexpr int FollowHeight = 176;

void Centre(QWidget &window) {
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

} // namespace

TRpProgressForm::TRpProgressForm(TRpPrinter *job, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), Gauge(new QProgressBar(this)),
      Info(new QLabel(this)), job_(job) {
    setObjectName(QStringLiteral("TRpProgressForm"));
    setWindowTitle(QStringLiteral("Drukowanie"));
    setFixedSize(269, 71);
    Gauge->setObjectName(QStringLiteral("Gauge"));
    Gauge->setGeometry(12, 10, 245, 22);
    Gauge->setRange(0, 100);
    Gauge->setValue(0);
    Gauge->setTextVisible(false);
    Info->setObjectName(QStringLiteral("Info"));
    Info->setGeometry(0, 44, 269, 13);
    Info->setAlignment(Qt::AlignCenter);
    Centre(*this);
}

void TRpProgressForm::FollowJob(std::function<void()> cancel, std::function<void()> wait) {
    setFixedSize(FollowWidth, FollowHeight);
    Gauge->setGeometry(12, 10, FollowWidth - 24, 22);
    Gauge->setRange(0, 0);
    Info->hide(); // what the printer does is said below, at more length
    const auto label = [this](const char *name, QRect bounds) {
        auto *text = new QLabel(this);
        text->setObjectName(QLatin1String(name));
        text->setTextFormat(Qt::PlainText);
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        text->setGeometry(bounds);
        text->show();
        return text;
    };
    Stan = label("Stan", {12, 40, FollowWidth - 24, 44});
    Pytanie = label("Pytanie", {12, 86, FollowWidth - 24, 48});
    const auto button = [this](const char *name, const QString &caption, int left,
                               std::function<void()> action) {
        auto *pressed = new QPushButton(caption, this);
        pressed->setObjectName(QLatin1String(name));
        pressed->setAutoDefault(false);
        pressed->setGeometry(left, FollowHeight - 39, (FollowWidth - 36) / 2, 27);
        connect(pressed, &QPushButton::clicked, this, std::move(action));
        return pressed;
    };
    BtnAnuluj = button("BtnAnuluj", QStringLiteral("&Anuluj wydruk"), 12, std::move(cancel));
    BtnCzekaj =
        button("BtnCzekaj", QStringLiteral("&Czekaj"), FollowWidth / 2 + 6, std::move(wait));
    BtnAnuluj->show();
    BtnCzekaj->hide();
    Centre(*this);
}

void TRpProgressForm::ShowJobState(const QString &text) {
    if (Stan)
        Stan->setText(text);
}

void TRpProgressForm::ShowProblem(const QString &text) {
    if (!Pytanie || text == problem_)
        return;
    problem_ = text;
    Pytanie->setText(text.isEmpty() ? QString()
                                    : QStringLiteral("Anulować wydruk, żeby tabliczka nie "
                                                     "wydrukowała się później bez Twojej "
                                                     "wiedzy, czy czekać na drukarkę?"));
    BtnCzekaj->setVisible(!text.isEmpty());
    if (!text.isEmpty()) {
        // A stuck printer needs the operator: the window comes to the front.
        raise();
        activateWindow();
    }
}

bool TRpProgressForm::event(QEvent *event) {
    switch (int(event->type())) {
    case RpProgressNotice: {
        const int progress = job_ ? job_->Progress() : static_cast<TRpNotice *>(event)->Value;
        if (progress % 5 == 0) {
            Gauge->setValue(progress);
            Info->setText(QString::number(progress) + QStringLiteral("% zakończone"));
            QCoreApplication::processEvents();
        }
        return true;
    }
    case RpPageAvailableNotice:
        return true;
    case RpJobReleasedNotice:
        job_ = nullptr;
        return true;
    default:
        return QWidget::event(event);
    }
}
