#include "platform/forms/Form.h"

#include "platform/forms/Menu.h"
#include "platform/forms/RuntimeError.h"
#include "platform/forms/Twips.h"
#include "platform/forms/UserInterface.h"
#include "platform/forms/WindowManager.h"

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
    static const bool watching = [] {
        wm::OnFrameExtents([](QWidget* window) {
            if (auto* form = qobject_cast<Form*>(window)) form->FrameExtentsKnown();
        });
        return true;
    }();
    (void)watching;
}

Form::~Form() { Instances::Forget(this); }

// A window that was never shown has not placed its client area yet: place it first, so that the
// client size reads right from the constructor on.
static void PlaceClientArea(const Form* form)
{
    if (form->isVisible() || !form->layout()) return;
    // A hidden window's layout does not follow its size by itself.
    if (form->layout()->geometry().size() != form->size()) form->layout()->invalidate();
    form->layout()->activate();
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

QMargins Form::Frame() const
{
    if (frameExtents_) return *frameExtents_;
    if (isFullScreen() || windowFlags().testFlag(Qt::FramelessWindowHint)) return {};
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    if (frame != inner)
        return QMargins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom());
    // Not framed yet: the frame the other windows got is the best guess.
    if (wm::Present()) return wm::LastFrameExtents(const_cast<Form*>(this)).value_or(QMargins());
    return {};
}

QRectF Form::Geometry() const
{
    if (!isWindow()) return Extent::Geometry();
    // The outer rectangle of the window, frame and title included where the desktop draws one.
    if (pendingOuter_) return *pendingOuter_;
    const QRect inner = geometry();
    if (inner == innerPixels_ && !innerPixels_.isNull()) return outerTwips_;
    QRect outer = inner.marginsAdded(Frame());
    // A window never placed yet stands at the screen's corner, frame and all.
    if (!isVisible() && !testAttribute(Qt::WA_Moved)) outer.moveTopLeft(inner.topLeft());
    return QRectF(ToTwips(outer.x()), ToTwips(outer.y()), ToTwips(outer.width()), ToTwips(outer.height()));
}

void Form::ApplyGeometry(const QRectF& twips)
{
    if (!isWindow()) {
        Extent::ApplyGeometry(twips);
        return;
    }
    // The window manager owns the rectangle of a minimised, maximised or full-screen window.
    if (State() != WindowState::Normal) Raise(Err::CannotSizeMinimizedOrMaximized);
    // A window not shown yet whose code only gives it a size (its Left and Top stay where they
    // stand) is placed by the window manager, as the desktop places any new window.
    if (!placed_ && !isVisible() && wm::Present() && twips.topLeft() == Geometry().topLeft()) {
        const QMargins guess = Frame();
        resize(std::max(0, ToPixels(twips.width()) - guess.left() - guess.right()),
            std::max(0, ToPixels(twips.height()) - guess.top() - guess.bottom()));
        return;
    }
    placed_ = true;
    // Left and Top are the frame's outer corner: the client area goes inside the frame. Until
    // the window manager has told how wide its frame is, the rectangle is placed with the best
    // guess and placed again once the frame is known.
    const QMargins frame = Frame();
    const QRect outer(ToPixels(twips.left()), ToPixels(twips.top()), ToPixels(twips.width()), ToPixels(twips.height()));
    const QRect inner(outer.left() + frame.left(), outer.top() + frame.top(),
        std::max(0, outer.width() - frame.left() - frame.right()),
        std::max(0, outer.height() - frame.top() - frame.bottom()));
    pendingOuter_.reset();
    setGeometry(inner);
    outerTwips_ = twips;
    innerPixels_ = geometry();
    if (!frameExtents_ && wm::Present() && !isFullScreen()) pendingOuter_ = twips;
}

void Form::FrameExtentsKnown()
{
    frameExtents_ = wm::FrameExtents(this);
    if (!frameExtents_ || !pendingOuter_) return;
    const QRectF outer = *pendingOuter_;
    pendingOuter_.reset();
    // A window the user has moved meanwhile stays where the user put it.
    const QPoint at = wm::ClientPosition(this).value_or(geometry().topLeft());
    if (at != innerPixels_.topLeft() || geometry().topLeft() != innerPixels_.topLeft()) return;
    if (!isFullScreen() && !isMaximized()) ApplyGeometry(outer);
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
    topmost_ = topmost;
    // A window not created yet takes the state when it is shown.
    if (testAttribute(Qt::WA_WState_Created)) wm::SetState(this, wm::State::Above, topmost);
}

bool Form::Topmost() const { return topmost_; }

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

void Form::showEvent(QShowEvent* event)
{
    // The window manager forgets a window's states when it leaves the screen: it takes them
    // again as the window comes back.
    if (topmost_) wm::SetState(this, wm::State::Above, true);
    QMainWindow::showEvent(event);
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
