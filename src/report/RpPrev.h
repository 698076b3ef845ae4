// The preview window: borderless and maximized, a tool bar for zoom and page navigation,
// the page area with the job's page on display, and a status bar with the page number.
// Closing it lets the job go, which is what ends the wait of Preview.
#pragma once

#include "report/RpPreview.h"

#include <QWidget>

#include <array>

class QButtonGroup;
class QLabel;
class QToolButton;
class TRpPrinter;

class TRpStandardPreview final : public QWidget {
public:
    // Creates and shows the window for a job; the window is owned by the application and
    // destroys itself when it closes.
    static TRpStandardPreview *ShowPreview(TRpPrinter &job);

    QWidget *ToolBar1;
    QToolButton *ZoomFit;
    QToolButton *Zoom100;
    QToolButton *ZoomToWidth;
    QToolButton *FirstPage;
    QToolButton *PreviousPage;
    QToolButton *NextPage;
    QToolButton *LastPage;
    QToolButton *ExitButton;
    TRpPreview *RpPreview;
    QWidget *StatusBar;
    std::array<QLabel *, 3> Panels;

    void ZoomToFitClick();
    void ZoomTo100Click();
    void ZoomToWidthClick();
    void FirstPageClick();
    void PrevPageClick();
    void NextPageClick();
    void LastPageClick();
    void ExitClick();
    // The window's key handling, ahead of its controls; true when the key was used.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    TRpStandardPreview();
    QToolButton *AddButton(const char *name, int left, const QString &caption, const QString &hint,
                           int picture);
    void WritePageText();
    void RpPreviewPageAvailable(TRpPreview *sender, int pageCount);
    void RpPreviewProgressUpdate(TRpPreview *sender, int progress);
    void KeyUp();
    void KeyDown();
    void WatchKeys(QWidget *widget);

    QButtonGroup *zoomGroup_;
    int lastProgress_ = 0;
    bool focused_ = false;
};
