#include "engine/Docking.h"

#include "engine/Snapping.h"
#include "platform/forms/Form.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <vector>

namespace Docking {

namespace {

// The window system moves a window and tells us afterwards; a burst of such moves with no pause
// longer than this is one move or size loop of the user.
constexpr int LoopGapMs = 500;

class Watcher;

struct Registration {
    QPointer<forms::Form> form;
    std::unique_ptr<Watcher> watcher;
};

struct State {
    std::vector<Registration> table;
    QPointer<forms::Form> main;
    std::vector<Snapping::Rect> targets;
    Snapping::MoveState move;
    QPointer<forms::Form> lastMoved;
    QElapsedTimer sinceLastStep;
};

State& state()
{
    static State s;
    return s;
}

Snapping::Rect RectOf(const QWidget* window)
{
    const QRect r = window->frameGeometry();
    return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

Snapping::Point CursorPos()
{
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

// Places a window's outer rectangle (frame included).
void PlaceWindow(QWidget* window, const Snapping::Rect& r)
{
    const QRect frame = window->frameGeometry();
    const int frameW = frame.width() - window->width();
    const int frameH = frame.height() - window->height();
    if (r.Width() != frame.width() || r.Height() != frame.height())
        window->resize(std::max(0, r.Width() - frameW), std::max(0, r.Height() - frameH));
    if (r.left != frame.x() || r.top != frame.y()) window->move(r.left, r.top);
}

// The work area of the desktop first, then every visible window of the program but this one.
void CollectTargets(const forms::Form* moving)
{
    auto& targets = state().targets;
    targets.clear();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        targets.push_back({area.x(), area.y(), area.x() + area.width(), area.y() + area.height()});
    }
    for (forms::Form* form : forms::Instances::All())
        if (form != moving && form->isVisible()) targets.push_back(RectOf(form));
}

Snapping::SizingEdge EdgeBeingSized(const Snapping::Rect& from, const Snapping::Rect& to)
{
    using Snapping::SizingEdge;
    const bool left = to.left != from.left;
    const bool right = !left && to.right != from.right;
    const bool top = to.top != from.top;
    const bool bottom = !top && to.bottom != from.bottom;
    if (top) return left ? SizingEdge::TopLeft : right ? SizingEdge::TopRight : SizingEdge::Top;
    if (bottom) return left ? SizingEdge::BottomLeft : right ? SizingEdge::BottomRight : SizingEdge::Bottom;
    return left ? SizingEdge::Left : SizingEdge::Right;
}

// Stands between a registered window and its own handling of moves and sizes. Moves and sizes
// that come from the window system (the user dragging the window or its border) are snapped; the
// program's own moves are only noted.
class Watcher : public QObject {
public:
    explicit Watcher(forms::Form* form)
        : form_(form)
        , watched_(form)
        , last_(RectOf(form))
    {
        settle_.setSingleShot(true);
        settle_.setInterval(LoopGapMs);
        connect(&settle_, &QTimer::timeout, this, &Watcher::Settle);
        form->installEventFilter(this);
    }

    ~Watcher() override
    {
        if (form_) form_->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A window being destroyed still sends events here, when it is no longer a form: it is
        // known by its address alone.
        if (watched != watched_) return false;
        const auto type = event->type();
        if (type == QEvent::WindowStateChange || type == QEvent::Show) placedByDesktop_.start();
        if (type != QEvent::Move && type != QEvent::Resize && type != QEvent::Show) return false;
        // The desktop's own placing of a window that is shown, maximised or restored is no drag.
        const bool settling = placedByDesktop_.isValid() && placedByDesktop_.elapsed() < LoopGapMs;
        if (!event->spontaneous() || settling || form_->windowState() != Qt::WindowNoState) {
            if (!pending_) last_ = RectOf(form_);
            return false;
        }
        if (!pending_) {
            pending_ = true;
            QMetaObject::invokeMethod(this, &Watcher::Step, Qt::QueuedConnection);
        }
        return false;
    }

private:
    // One step of a move or size loop: the window system has put the window at a new rectangle.
    void Step()
    {
        pending_ = false;
        if (!form_) return;
        const Snapping::Rect old = last_;
        const Snapping::Rect proposed = RectOf(form_);
        if (proposed == old) return;

        auto& s = state();
        const bool sizing = proposed.Width() != old.Width() || proposed.Height() != old.Height();
        if (s.lastMoved != form_ || !s.sinceLastStep.isValid() || s.sinceLastStep.elapsed() > LoopGapMs) {
            // The desktop has already moved the window with the cursor by the time we hear of it.
            const Snapping::Point cursor = CursorPos();
            s.move.offset = {cursor.x - proposed.left, cursor.y - proposed.top};
            CollectTargets(form_);
        }
        s.lastMoved = form_;
        s.sinceLastStep.start();

        snapped_ = sizing ? Snapping::SnapSize(proposed, s.targets, EdgeBeingSized(old, proposed))
                          : Snapping::SnapMove(proposed, s.targets, CursorPos(), s.move);
        PlaceWindow(form_, snapped_);
        last_ = RectOf(form_);
        if (form_ == s.main) MoveDockedWindows(old, snapped_);
        settle_.start();
    }

    // Some window managers ignore a window's own moves while they drag it; when the drag is over,
    // the window goes where it snapped.
    void Settle()
    {
        if (!form_ || pending_ || form_->windowState() != Qt::WindowNoState) return;
        if (RectOf(form_) != snapped_) PlaceWindow(form_, snapped_);
        last_ = RectOf(form_);
    }

    void MoveDockedWindows(const Snapping::Rect& oldMain, const Snapping::Rect& newMain)
    {
        const int dx = newMain.left - oldMain.left;
        const int dy = newMain.top - oldMain.top;
        if (dx == 0 && dy == 0) return;
        for (const Registration& entry : state().table) {
            forms::Form* other = entry.form;
            if (!other || other == form_) continue;
            const Snapping::Rect r = RectOf(other);
            if (Snapping::IsDocked(r, oldMain)) other->move(r.left + dx, r.top + dy);
        }
    }

    QPointer<forms::Form> form_;
    const QObject* watched_;
    Snapping::Rect last_;
    Snapping::Rect snapped_;
    bool pending_ = false;
    QTimer settle_;
    QElapsedTimer placedByDesktop_;
};

std::vector<Registration>::iterator Find(const forms::Form* form)
{
    auto& table = state().table;
    return std::find_if(table.begin(), table.end(), [&](const Registration& r) { return r.form == form; });
}

// Windows destroyed without detaching leave their entries behind; they are dropped here.
void ForgetDestroyed()
{
    std::erase_if(state().table, [](const Registration& r) { return r.form.isNull(); });
}

} // namespace

void AttachForm(forms::Form* form, bool isMain)
{
    ForgetDestroyed();
    if (!form || IsAttached(form)) return;
    state().table.push_back({form, std::make_unique<Watcher>(form)});
    if (isMain) state().main = form;
}

void DetachForm(forms::Form* form)
{
    if (state().main == form) state().main = nullptr;
    auto it = Find(form);
    if (it != state().table.end()) state().table.erase(it);
}

bool IsAttached(const forms::Form* form) { return form && Find(form) != state().table.end(); }

} // namespace Docking
