#include "platform/forms/Form.h"

#include "platform/forms/Menu.h"
#include "platform/forms/Twips.h"
#include "platform/forms/UserInterface.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QEventLoop>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <utility>

namespace forms {

Form::Form(QWidget* parent)
    : QMainWindow(parent)
    , Extent(this)
    , client_(new QWidget(this))
{
    setCentralWidget(client_);
    client_->installEventFilter(this);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

Form::~Form() { Instances::Forget(this); }

// A window that was never shown has not placed its client area yet: place it first, so that the
// client size reads right from the constructor on.
static void PlaceClientArea(const Form* form)
{
    if (!form->isVisible() && form->layout()) form->layout()->activate();
}

double Form::ScaleWidth() const
{
    PlaceClientArea(this);
    return ToTwips(client_->width());
}

double Form::ScaleHeight() const
{
    PlaceClientArea(this);
    return ToTwips(client_->height());
}

WindowState Form::State() const
{
    if (isMinimized()) return WindowState::Minimized;
    if (isMaximized() || isFullScreen()) return WindowState::Maximized;
    return WindowState::Normal;
}

void Form::setState(WindowState state)
{
    // The rectangle to come back to is kept here: a window whose style changes right after its
    // state would otherwise forget it.
    const bool wasNormal = State() == WindowState::Normal;
    if (wasNormal && state != WindowState::Normal) normalGeometry_ = geometry();
    switch (state) {
    case WindowState::Normal:
        setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
        if (!wasNormal && normalGeometry_.isValid()) {
            const QRect normal = std::exchange(normalGeometry_, QRect());
            setGeometry(normal);
        }
        break;
    case WindowState::Minimized: setWindowState(windowState() | Qt::WindowMinimized); break;
    case WindowState::Maximized:
        // A window without a frame fills the whole screen when maximised, panels included.
        setWindowState((windowState() & ~Qt::WindowMinimized)
            | (windowFlags().testFlag(Qt::FramelessWindowHint) ? Qt::WindowFullScreen : Qt::WindowMaximized));
        break;
    }
}

QRectF Form::Geometry() const
{
    // The outer rectangle of the window, frame and title included where the desktop draws one.
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    const QRectF twips = Extent::Geometry();
    if (frame == inner) return twips;
    return QRectF(ToTwips(frame.x()), ToTwips(frame.y()), ToTwips(frame.width()), ToTwips(frame.height()));
}

void Form::ApplyGeometry(const QRectF& twips)
{
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    const int extraW = frame.width() - inner.width();
    const int extraH = frame.height() - inner.height();
    if (extraW == 0 && extraH == 0) {
        Extent::ApplyGeometry(twips);
        return;
    }
    move(ToPixels(twips.left()), ToPixels(twips.top()));
    resize(std::max(0, ToPixels(twips.width()) - extraW), std::max(0, ToPixels(twips.height()) - extraH));
}

void Form::Load()
{
    if (loaded_) return;
    loaded_ = true;
    Form_Load();
}

void Form::Show(ShowMode mode)
{
    Load();
    if (unloading_) return;
    if (mode == ShowMode::Modeless) {
        show();
        raise();
        return;
    }
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    QEventLoop loop;
    modalLoop_ = &loop;
    QPointer<Form> alive(this);
    UI().ModalForm(*this);
    if (alive && modalLoop_ == &loop) loop.exec();
    if (alive) {
        modalLoop_ = nullptr;
        setWindowModality(Qt::NonModal);
    }
}

bool Form::Unload()
{
    if (unloading_) return true;
    int cancel = 0;
    if (loaded_) Form_Unload(cancel);
    if (cancel != 0) return false;
    unloading_ = true;
    hide();
    if (modalLoop_) modalLoop_->quit();
    modalLoop_ = nullptr;
    Form_Terminate();
    Instances::Forget(this);
    emit Unloaded();
    deleteLater();
    return true;
}

void Form::SetTopmost(bool topmost)
{
    if (Topmost() == topmost) return;
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    if (shown) show();
}

bool Form::Topmost() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

void Form::PopupMenu(MenuItem& menu)
{
    if (QMenu* m = menu.Submenu()) UI().PopupMenu(m, QCursor::pos());
}

namespace {
bool programEnded = false;
}

bool Form::ProgramEnded() { return programEnded; }

void Form::EndProgram()
{
    programEnded = true;
    for (Form* form : Instances::All()) {
        form->unloading_ = true;
        if (form->modalLoop_) form->modalLoop_->quit();
        form->hide();
        form->deleteLater();
    }
    QCoreApplication::exit(0);
}

bool Form::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == client_ && event->type() == QEvent::Resize && loaded_ && !unloading_) Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void Form::closeEvent(QCloseEvent* event)
{
    if (unloading_) {
        event->accept();
        return;
    }
    event->ignore();
    Unload();
}

void Form::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    if (modalLoop_ && !isMinimized()) modalLoop_->quit();
}

std::map<std::type_index, Form*>& Instances::table()
{
    static std::map<std::type_index, Form*> forms;
    return forms;
}

namespace {
// The windows in the order they were created, as the program's collection of loaded windows.
std::vector<Form*>& creationOrder()
{
    static std::vector<Form*> forms;
    return forms;
}
} // namespace

void Instances::Register(std::type_index type, Form* form)
{
    table()[type] = form;
    creationOrder().push_back(form);
}

void Instances::Forget(Form* form)
{
    std::erase(creationOrder(), form);
    for (auto it = table().begin(); it != table().end(); ++it)
        if (it->second == form) {
            table().erase(it);
            return;
        }
}

std::vector<Form*> Instances::All() { return creationOrder(); }

} // namespace forms
