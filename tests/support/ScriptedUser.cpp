#include "tests/support/ScriptedUser.h"

#include "platform/forms/MsgBox.h"

ScriptedUser::ScriptedUser()
    : previous_(forms::SetUserInterface(this))
{
}

ScriptedUser::~ScriptedUser() { forms::SetUserInterface(previous_); }

int ScriptedUser::MessageBox(const QString& prompt, int style, const QString& title)
{
    boxes_.push_back({prompt, style, title});
    if (!boxAnswers_.empty()) {
        const int answer = boxAnswers_.front();
        boxAnswers_.pop_front();
        return answer;
    }
    switch (style & 7) {
    case forms::MsgBoxStyle::YesNo:
    case forms::MsgBoxStyle::YesNoCancel: return forms::MsgBoxResult::Yes;
    case forms::MsgBoxStyle::AbortRetryIgnore: return forms::MsgBoxResult::Abort;
    case forms::MsgBoxStyle::RetryCancel: return forms::MsgBoxResult::Retry;
    default: return forms::MsgBoxResult::OK;
    }
}

QString ScriptedUser::InputBox(const QString& prompt, const QString& /*title*/, const QString& /*defaultText*/)
{
    inputs_.push_back(prompt);
    if (inputAnswers_.empty()) return QString();
    QString answer = inputAnswers_.front();
    inputAnswers_.pop_front();
    return answer;
}

QAction* ScriptedUser::PopupMenu(QMenu* /*menu*/, const QPoint& /*at*/)
{
    ++popups_;
    return nullptr;
}
