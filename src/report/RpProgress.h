// The progress window of a print: a small dialog-style window kept above the others, with
// a bar and a line of text that follow the job's progress notices.
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class TRpPrinter;

class TRpProgressForm final : public QWidget {
public:
    explicit TRpProgressForm(TRpPrinter *job, QWidget *parent = nullptr);

    QProgressBar *Gauge;
    QLabel *Info;
    TRpPrinter *Job() const { return job_; }

protected:
    bool event(QEvent *event) override;

private:
    TRpPrinter *job_;
};
