#include "player/MouseScroll.h"

#include "engine/Media.h"
#include "engine/Slider.h"
#include "platform/forms/RuntimeError.h"
#include "player/frmMouseScroll.h"
#include "player/frmPlayer.h"

#include <QApplication>
#include <QPointer>
#include <QWheelEvent>
#include <cfenv>
#include <cmath>

namespace MouseScroll {

namespace {

// Sees the wheel events of the whole program and takes those aimed at the player window or one
// of its controls. Each is handled once, where it first arrives, and goes no further: a control
// under the mouse does not scroll by itself as well.
class WheelProcedure : public QObject {
public:
    explicit WheelProcedure(frmPlayer& player)
        : QObject(&player)
        , player_(player)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel || !watched->isWidgetType()) return false;
        if (static_cast<QWidget*>(watched)->window() != &player_) return false;
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        // A sideways turn is no turn of the wheel here; the controls keep it.
        if (delta == 0) return false;
        // A fine-grained wheel reports parts of a notch; they add up to whole notches.
        pending_ += delta;
        QPointer<QObject> alive(this);
        while (alive && std::abs(pending_) >= WheelDelta) {
            const bool up = pending_ > 0;
            pending_ -= up ? WheelDelta : -WheelDelta;
            WindowProc(player_, up);
        }
        return true;
    }

private:
    frmPlayer& player_;
    int pending_ = 0;
};

WheelProcedure* Procedure(const frmPlayer& player)
{
    for (QObject* child : player.children())
        if (auto* procedure = dynamic_cast<WheelProcedure*>(child)) return procedure;
    return nullptr;
}

double Step(frmMouseScroll& settings) { return LeadingNumber(settings.txtSec->Text()); }

} // namespace

void Install(frmPlayer& player)
{
    if (!Procedure(player)) new WheelProcedure(player);
}

void Remove(frmPlayer& player) { delete Procedure(player); }

bool Installed(const frmPlayer& player) { return Procedure(player) != nullptr; }

void WindowProc(frmPlayer& player, bool WheelUp)
{
    forms::IgnoreErrors run;
    // Touching the settings loads their window, hidden, from the settings file.
    frmMouseScroll& settings = forms::Instance<frmMouseScroll>();
    settings.Load();
    QPointer<frmMouseScroll> alive(&settings);
    const double sign = WheelUp ? 1 : -1;

    if (alive && settings.Option1->Value()) {
        run([&] { player.tmrCurrent->setEnabled(false); });
        run([&] { player.tmrMax->setEnabled(false); });
        run([&] { player.scrPosition->setValue(player.scrPosition->Value() + sign * Step(settings)); });
        run([&] { player.Media1->setPositionTo(player.scrPosition->Value()); });
        run([&] {
            player.scrPosition->setCaption(
                player.Media1->getFormatPosition() + QStringLiteral(" / ") + player.Media1->getFormatLength());
        });
        run([&] { player.tmrCurrent->setEnabled(true); });
        run([&] { player.tmrMax->setEnabled(true); });
    }
    if (alive && settings.Option2->Value()) {
        run([&] { player.scrSpeed->setValue(RoundInteger(player.scrSpeed->Value() + sign * Step(settings))); });
        run([&] { player.scrSpeed_Scroll(); });
    }
    if (alive && settings.Option3->Value()) {
        // The volume bar runs from -20 (loudest) to 0: up makes it louder.
        run([&] { player.scrVolume->setValue(RoundInteger(player.scrVolume->Value() - sign * Step(settings))); });
        run([&] { player.Media1->setVolume(-50 * player.scrVolume->Value()); });
    }
    if (alive && settings.Option4->Value()) {
        // Up goes towards the top of the list. Selecting a row opens and plays it.
        run([&] {
            player.lstPlaylist->setListIndex(RoundInteger(player.lstPlaylist->ListIndex() - sign * Step(settings)));
        });
    }
}

double LeadingNumber(const QString& text)
{
    QString digits;
    for (const QChar c : text)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            digits += c;

    qsizetype end = 0;
    const auto isDigit
        = [&](qsizetype at) { return at < digits.size() && digits[at].isDigit() && digits[at].unicode() < 128; };
    if (end < digits.size() && (digits[end] == QLatin1Char('+') || digits[end] == QLatin1Char('-'))) ++end;
    const qsizetype mantissa = end;
    while (isDigit(end))
        ++end;
    if (end < digits.size() && digits[end] == QLatin1Char('.')) {
        ++end;
        while (isDigit(end))
            ++end;
    }
    if (end - mantissa == 0 || (end - mantissa == 1 && digits[mantissa] == QLatin1Char('.'))) return 0;
    if (end < digits.size()
        && (digits[end] == QLatin1Char('E') || digits[end] == QLatin1Char('e') || digits[end] == QLatin1Char('D')
            || digits[end] == QLatin1Char('d'))) {
        qsizetype exponent = end + 1;
        if (exponent < digits.size() && (digits[exponent] == QLatin1Char('+') || digits[exponent] == QLatin1Char('-')))
            ++exponent;
        if (isDigit(exponent)) {
            digits[end] = QLatin1Char('e');
            end = exponent;
            while (isDigit(end))
                ++end;
        }
    }
    bool ok = false;
    const double value = digits.left(end).toDouble(&ok);
    if (!ok || !std::isfinite(value)) forms::Raise(forms::Err::Overflow);
    return value;
}

int RoundInteger(double value)
{
    if (std::isnan(value)) forms::Raise(forms::Err::Overflow);
    // Under the default rounding mode, halves go to the even neighbour.
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(previous);
    if (rounded < -32768 || rounded > 32767) forms::Raise(forms::Err::Overflow);
    return static_cast<int>(rounded);
}

} // namespace MouseScroll
