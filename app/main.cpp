#include "app/QuitOnSignal.h"
#include "player/frmPlayer.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tessel"));
    QApplication::setQuitOnLastWindowClosed(false);

    // The program takes one optional file path; the rest of the line belongs to it.
    QStringList args = QApplication::arguments();
    args.removeFirst();

    auto& player = forms::Instance<frmPlayer>();
    player.setCommandLine(args.join(QLatin1Char(' ')));
    player.Show();
    if (forms::Form::ProgramEnded()) return 0;

    // Logging out or a terminal's interrupt closes the player as its own Exit would.
    QuitOnSignal quit([] {
        if (auto* p = forms::Instances::Existing<frmPlayer>()) p->Unload();
    });
    return QApplication::exec();
}
