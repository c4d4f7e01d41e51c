#include "ProgramVersion.h"
#include "app/QuitOnSignal.h"
#include "platform/forms/CaretBlink.h"
#include "player/frmPlayer.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(ProgramVersion::Title));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(ProgramVersion::Major).arg(ProgramVersion::Minor).arg(ProgramVersion::Revision));
    QApplication::setQuitOnLastWindowClosed(false);
    forms::RestCaretWhenIdle();

    // The program takes one optional file path; the rest of the line belongs to it.
    QStringList args = QApplication::arguments();
    args.removeFirst();

    // Logging out or a terminal's interrupt closes the player as its own Exit would. A signal that
    // comes while the player is still starting (its Load may show boxes) is answered once it runs.
    bool running = false;
    bool quitAsked = false;
    const auto unload = [] {
        if (auto* p = forms::Instances::Existing<frmPlayer>()) p->Unload();
    };
    // A window the start waits on (the first run's association dialog) is closed, as its close
    // box would, so that the start can finish.
    QuitOnSignal quit([&] {
        if (running) {
            unload();
            return;
        }
        quitAsked = true;
        for (forms::Form* form : forms::Instances::All())
            if (form != forms::Instances::Existing<frmPlayer>() && form->isModal()) form->Unload();
    });

    auto& player = forms::Instance<frmPlayer>();
    player.setCommandLine(args.join(QLatin1Char(' ')));
    player.Show();
    if (forms::Form::ProgramEnded()) return 0;
    running = true;
    if (quitAsked) QTimer::singleShot(0, unload);
    return QApplication::exec();
}
