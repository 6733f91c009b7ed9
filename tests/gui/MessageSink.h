#pragma once
// A parent widget that records the messages its skinned children send or post to it.

#include "AppMessageEvent.h"

#include <QWidget>

#include <vector>

struct SinkMessage {
    int message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

class MessageSink : public QWidget {
public:
    std::vector<SinkMessage> messages;

    bool event(QEvent* e) override {
        if (e->type() >= QEvent::User && e->type() <= QEvent::MaxUser) {
            if (auto* m = dynamic_cast<ombrel::AppMessageEvent*>(e)) {
                messages.push_back({m->message(), m->wParam(), m->lParam()});
                return true;
            }
        }
        return QWidget::event(e);
    }
};
