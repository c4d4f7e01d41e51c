#include "tests/support/ScriptedUser.h"

#include "platform/forms/Form.h"
#include "platform/forms/MsgBox.h"

#include <QPointer>
#include <QTimer>

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

void ScriptedUser::ChooseFile(const QString& path, int filterIndex, std::optional<int> flags)
{
    DialogAnswer a;
    a.kind = DialogKind::File;
    a.file.path = path;
    a.file.filterIndex = filterIndex;
    a.fileFlags = flags;
    dialogAnswers_.push_back(a);
}

void ScriptedUser::ChooseColor(int color, std::initializer_list<std::pair<int, int>> customColors)
{
    DialogAnswer a;
    a.kind = DialogKind::Color;
    a.color = color;
    a.customColors = customColors;
    dialogAnswers_.push_back(a);
}

void ScriptedUser::ChooseFont(const forms::FontResult& font)
{
    DialogAnswer a;
    a.kind = DialogKind::Font;
    a.font = font;
    dialogAnswers_.push_back(a);
}

void ScriptedUser::ChoosePrinter(const forms::PrinterResult& printer)
{
    DialogAnswer a;
    a.kind = DialogKind::Printer;
    a.printer = printer;
    dialogAnswers_.push_back(a);
}

void ScriptedUser::ChooseFolder(const QString& path)
{
    DialogAnswer a;
    a.kind = DialogKind::Folder;
    a.folder = path;
    dialogAnswers_.push_back(a);
}

void ScriptedUser::CancelDialog() { dialogAnswers_.push_back(DialogAnswer {}); }

std::optional<ScriptedUser::DialogAnswer> ScriptedUser::NextAnswer(DialogKind kind)
{
    if (dialogAnswers_.empty()) return std::nullopt;
    const DialogAnswer next = dialogAnswers_.front();
    if (next.kind != kind && next.kind != DialogKind::Cancel) return std::nullopt;
    dialogAnswers_.pop_front();
    if (next.kind == DialogKind::Cancel) return std::nullopt;
    return next;
}

std::optional<forms::FileResult> ScriptedUser::FileDialog(const forms::FileRequest& request)
{
    fileRequests_.push_back(request);
    const auto answer = NextAnswer(DialogKind::File);
    if (!answer) return std::nullopt;
    forms::FileResult result = answer->file;
    result.flags = answer->fileFlags.value_or(request.flags);
    return result;
}

std::optional<forms::ColorResult> ScriptedUser::ColorDialog(const forms::ColorRequest& request)
{
    colorRequests_.push_back(request);
    const auto answer = NextAnswer(DialogKind::Color);
    if (!answer) return std::nullopt;
    forms::ColorResult result {answer->color, request.customColors};
    for (const auto& [slot, color] : answer->customColors)
        result.customColors.at(static_cast<size_t>(slot)) = color;
    return result;
}

std::optional<forms::FontResult> ScriptedUser::FontDialog(const forms::FontRequest& request)
{
    fontRequests_.push_back(request);
    const auto answer = NextAnswer(DialogKind::Font);
    if (!answer) return std::nullopt;
    return answer->font;
}

std::optional<forms::PrinterResult> ScriptedUser::PrinterDialog(const forms::PrinterRequest& request)
{
    printerRequests_.push_back(request);
    const auto answer = NextAnswer(DialogKind::Printer);
    if (!answer) return std::nullopt;
    return answer->printer;
}

std::optional<QString> ScriptedUser::FolderDialog(const forms::FolderRequest& request)
{
    folderRequests_.push_back(request);
    const auto answer = NextAnswer(DialogKind::Folder);
    if (!answer) return std::nullopt;
    return answer->folder;
}

void ScriptedUser::Help(const forms::HelpRequest& request) { helpRequests_.push_back(request); }

void ScriptedUser::CloseModalForms()
{
    AnswerModalForms([](forms::Form& form) { form.close(); });
}

void ScriptedUser::ModalForm(forms::Form& form)
{
    modalForms_.push_back(form.Caption());
    if (!modalAnswer_) return;
    QTimer::singleShot(0, &form, [answer = modalAnswer_, window = QPointer<forms::Form>(&form)] {
        if (window) answer(*window);
    });
}
