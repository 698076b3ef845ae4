// The progress window of a print: a small dialog-style window kept above the others, with
// a bar and a line of text that follow the job's progress notices. Once the document has been
// handed to the printer it grows by what the printer is doing and the operator's choices:
// "Anuluj wydruk" while the job is followed, "Czekaj" beside it while the printer is stuck.
#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class TRpPrinter;

class TRpProgressForm final : public QWidget {
public:
    explicit TRpProgressForm(TRpPrinter *job, QWidget *parent = nullptr);

    QProgressBar *Gauge;
    QLabel *Info;
    TRpPrinter *Job() const { return job_; }

    // Following the printed job: the bar turns into a busy bar and the window grows.
    void FollowJob(std::function<void()> cancel, std::function<void()> wait);
    void ShowJobState(const QString &text);
    // The stuck printer's question; empty hides it.
    void ShowProblem(const QString &text);
    QString Problem() const { return problem_; }

    QLabel *Stan = nullptr;    // what the printer is doing
    QLabel *Pytanie = nullptr; // what is wrong, and the choice
    QPushButton *BtnAnuluj = nullptr;
    QPushButton *BtnCzekaj = nullptr;

protected:
    bool event(QEvent *event) override;

private:
    TRpPrinter *job_;
    QString problem_;
};
