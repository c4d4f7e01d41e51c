#pragma once

#include "platform/forms/UserInterface.h"

#include <QString>
#include <deque>
#include <vector>

// A user who answers every box the program shows with the answers a test chose, and remembers
// what was shown. Installed for its lifetime.
class ScriptedUser : public forms::UserInterface {
public:
    struct Box {
        QString prompt;
        int style;
        QString title;
    };

    ScriptedUser();
    ~ScriptedUser() override;

    // Answers for the next message boxes, in order; without one, the first button is pressed.
    void AnswerBoxes(std::initializer_list<int> answers) { boxAnswers_.insert(boxAnswers_.end(), answers); }
    // Texts for the next input boxes; without one, the box is cancelled.
    void AnswerInputs(std::initializer_list<QString> answers) { inputAnswers_.insert(inputAnswers_.end(), answers); }

    const std::vector<Box>& Boxes() const { return boxes_; }
    const std::vector<QString>& Inputs() const { return inputs_; }
    int PopupCount() const { return popups_; }

    int MessageBox(const QString& prompt, int style, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    QAction* PopupMenu(QMenu* menu, const QPoint& at) override;

private:
    forms::UserInterface* previous_;
    std::deque<int> boxAnswers_;
    std::deque<QString> inputAnswers_;
    std::vector<Box> boxes_;
    std::vector<QString> inputs_;
    int popups_ = 0;
};
