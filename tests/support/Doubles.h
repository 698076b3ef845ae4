// Recording test doubles of the platform services.
#pragma once

#include "platform/Messages.h"
#include "platform/PrinterSystem.h"
#include "platform/Screen.h"
#include "platform/Service.h"
#include "support/QtPrint.h"

#include <QStringList>
#include <deque>
#include <vector>

namespace testing_support {

struct ShownMessage {
    platform::MessageKind kind;
    QString caption;
    QString text;
};

class RecordingMessages final : public platform::Messages {
public:
    void show(platform::MessageKind kind, const QString &caption, const QString &text) override {
        shown.push_back({kind, caption, text});
    }
    // Recorded as a message of the kind Question; answered from `answers` in turn, then with
    // the default answer.
    bool ask(const QString &caption, const QString &text, bool yesIsDefault) override {
        shown.push_back({platform::MessageKind::Question, caption, text});
        if (answers.empty())
            return yesIsDefault;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<ShownMessage> shown;
    std::deque<bool> answers;

private:
    platform::ScopedService<platform::Messages> scope_{*this};
};

class FixedScreen final : public platform::Screen {
public:
    explicit FixedScreen(int dpi) : dpi_(dpi) {}
    int logicalDpi() override { return dpi_; }

private:
    int dpi_;
    platform::ScopedService<platform::Screen> scope_{*this};
};

} // namespace testing_support
