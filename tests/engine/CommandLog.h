#pragma once

#include "platform/mci/Mci.h"

#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

// Records every command string sent to the media command layer while it exists.
class CommandLog {
public:
    CommandLog()
    {
        mci::SetCommandObserver([this](std::string_view command) {
            sent << QString::fromUtf8(command.data(), static_cast<qsizetype>(command.size()));
        });
    }
    ~CommandLog() { mci::SetCommandObserver({}); }
    CommandLog(const CommandLog&) = delete;
    CommandLog& operator=(const CommandLog&) = delete;

    QStringList Take()
    {
        QStringList out = sent;
        sent.clear();
        return out;
    }

    QStringList sent;
};

// Sends a query and returns its reply, or "error N".
inline QString Ask(const QString& command)
{
    char reply[128] = "";
    const QByteArray text = command.toUtf8();
    const unsigned error = mci::SendString(std::string_view(text.constData(), text.size()), reply, sizeof reply);
    return error ? QStringLiteral("error %1").arg(error) : QString::fromUtf8(reply);
}

inline unsigned Send(const QString& command)
{
    const QByteArray text = command.toUtf8();
    return mci::SendString(std::string_view(text.constData(), text.size()));
}
