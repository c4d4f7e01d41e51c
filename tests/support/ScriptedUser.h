#pragma once

#include "platform/forms/UserInterface.h"

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <utility>
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

    // Answers for the next common dialogs, in order; a dialog whose answer is not next is cancelled.
    // Without flags, the dialog hands back the flags it was given.
    void ChooseFile(const QString& path, int filterIndex = 1, std::optional<int> flags = {});
    // The colour chosen, with the custom colours the user changed (slot, colour).
    void ChooseColor(int color, std::initializer_list<std::pair<int, int>> customColors = {});
    void ChooseFont(const forms::FontResult& font);
    void ChoosePrinter(const forms::PrinterResult& printer);
    void ChooseFolder(const QString& path);
    void CancelDialog();
    // What the user does with each window shown modally from now on; it runs once the window is up.
    // Without it, a modal window waits as it would for a person.
    void AnswerModalForms(std::function<void(forms::Form&)> answer) { modalAnswer_ = std::move(answer); }
    // Closes each modal window as its close box would.
    void CloseModalForms();

    // The requests of the common dialogs shown, in order.
    const std::vector<forms::FileRequest>& FileRequests() const { return fileRequests_; }
    const std::vector<forms::ColorRequest>& ColorRequests() const { return colorRequests_; }
    const std::vector<forms::FontRequest>& FontRequests() const { return fontRequests_; }
    const std::vector<forms::PrinterRequest>& PrinterRequests() const { return printerRequests_; }
    const std::vector<forms::FolderRequest>& FolderRequests() const { return folderRequests_; }
    const std::vector<forms::HelpRequest>& HelpRequests() const { return helpRequests_; }

    const std::vector<Box>& Boxes() const { return boxes_; }
    const std::vector<QString>& Inputs() const { return inputs_; }
    int PopupCount() const { return popups_; }
    // Captions of the windows shown modally, in order.
    const std::vector<QString>& ModalForms() const { return modalForms_; }

    int MessageBox(const QString& prompt, int style, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    QAction* PopupMenu(QMenu* menu, const QPoint& at) override;
    std::optional<forms::FileResult> FileDialog(const forms::FileRequest& request) override;
    std::optional<forms::ColorResult> ColorDialog(const forms::ColorRequest& request) override;
    std::optional<forms::FontResult> FontDialog(const forms::FontRequest& request) override;
    std::optional<forms::PrinterResult> PrinterDialog(const forms::PrinterRequest& request) override;
    std::optional<QString> FolderDialog(const forms::FolderRequest& request) override;
    void Help(const forms::HelpRequest& request) override;
    void ModalForm(forms::Form& form) override;

private:
    enum class DialogKind { Cancel, File, Color, Font, Printer, Folder };
    struct DialogAnswer {
        DialogKind kind = DialogKind::Cancel;
        forms::FileResult file;
        std::optional<int> fileFlags;
        int color = 0;
        std::vector<std::pair<int, int>> customColors;
        forms::FontResult font;
        forms::PrinterResult printer;
        QString folder;
    };
    // The next answer when it is for a dialog of this kind; nothing (cancel) otherwise.
    std::optional<DialogAnswer> NextAnswer(DialogKind kind);

    forms::UserInterface* previous_;
    std::deque<int> boxAnswers_;
    std::deque<QString> inputAnswers_;
    std::vector<Box> boxes_;
    std::vector<QString> inputs_;
    int popups_ = 0;
    std::deque<DialogAnswer> dialogAnswers_;
    std::vector<forms::FileRequest> fileRequests_;
    std::vector<forms::ColorRequest> colorRequests_;
    std::vector<forms::FontRequest> fontRequests_;
    std::vector<forms::PrinterRequest> printerRequests_;
    std::vector<forms::FolderRequest> folderRequests_;
    std::vector<forms::HelpRequest> helpRequests_;
    std::function<void(forms::Form&)> modalAnswer_;
    std::vector<QString> modalForms_;
};
