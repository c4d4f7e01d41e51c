// The control's dispatch interface: its state by property access and its methods, by id.
#include "cdaudio/Gyrelle.h"
#include "cdaudio/GyrelleIds.h"
#include "platform/forms/RuntimeError.h"

using dispatch::Invocation;
using dispatch::Variant;

namespace {

const QString Source = QStringLiteral("Gyrelle");

[[noreturn]] void ArgumentNotOptional()
{
    throw forms::RuntimeError(449, Source, QStringLiteral("Argument not optional"));
}

const Variant& Argument(std::vector<Variant>& args, std::size_t i)
{
    if (i >= args.size()) ArgumentNotOptional();
    return args[i];
}

// Reads or writes one state variable; T is its type.
template <class T, class Convert>
Variant Property(T& variable, Invocation how, std::vector<Variant>& args, Convert convert)
{
    if (how == Invocation::PropertyPut) {
        if (args.empty()) ArgumentNotOptional();
        variable = convert(args.back());
        return {};
    }
    return Variant(variable);
}

} // namespace

Variant Gyrelle::Invoke(dispatch::DispId id, Invocation how, std::vector<Variant>& args)
{
    namespace Id = GyrelleIds;
    const auto toBool = [](const Variant& v) { return v.ToBool(); };
    const auto toInteger = [](const Variant& v) { return v.ToInteger(); };
    const auto toLong = [](const Variant& v) { return v.ToLong(); };
    const auto toString = [](const Variant& v) { return v.ToString(); };

    switch (id) {
    case Id::CDPaused: return Property(CDPaused, how, args, toBool);
    case Id::fastForwardSpeed: return Property(fastForwardSpeed, how, args, toLong);
    case Id::fPlaying: return Property(fPlaying, how, args, toBool);
    case Id::fCDLoaded: return Property(fCDLoaded, how, args, toBool);
    case Id::numTracks: return Property(numTracks, how, args, toInteger);
    case Id::track: return Property(track, how, args, toInteger);
    case Id::min: return Property(min, how, args, toInteger);
    case Id::sec: return Property(sec, how, args, toInteger);
    case Id::cmd: return Property(cmd, how, args, toString);
    case Id::TrackTime: return Property(TrackTime, how, args, toString);
    case Id::TotalTime: return Property(TotalTime, how, args, toString);
    default: break;
    }

    if (how == Invocation::PropertyPut) dispatch::RaiseMemberNotFound(Source);
    switch (id) {
    case Id::Initiate: Initiate(); return {};
    case Id::Terminate: Terminate(); return {};
    case Id::SendMCIString: {
        const QString command = Argument(args, 0).ToString();
        const bool showError = Argument(args, 1).ToBool();
        return SendMCIString(command, showError);
    }
    case Id::PlayCD: PlayCD(args.empty() || args[0].IsEmpty() ? std::int16_t(0) : args[0].ToInteger()); return {};
    case Id::StopCD: StopCD(); return {};
    case Id::PauseCD: PauseCD(); return {};
    case Id::EjectCD: EjectCD(); return {};
    case Id::InjectCD: InjectCD(); return {};
    case Id::FFCD: FFCD(); return {};
    case Id::RWCD: RWCD(); return {};
    case Id::FTrack: FTrack(); return {};
    case Id::PTrack: PTrack(); return {};
    case Id::Update: Update(); return {};
    default: dispatch::RaiseMemberNotFound(Source);
    }
}
