#include "RpProgress.h"

#include "report/RpPrntr.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

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
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
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
