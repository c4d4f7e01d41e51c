#include "platform/mci/CueSheet.h"

#include <algorithm>
#include <string_view>

namespace mci {

namespace {

constexpr int SectorBytes = 2352;
constexpr int MaxTracks = 99;
// libcdio reads a sheet line by line into 4096 bytes: a longer line would be read as two, and the
// second half taken for a line of its own.
constexpr std::size_t MaxLineBytes = 4000;

// libcdio separates words at these, and only these.
constexpr std::string_view Blanks = " \t\r";

bool IsDigits(std::string_view s, std::size_t min, std::size_t max)
{
    return s.size() >= min && s.size() <= max && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view digits)
{
    int n = 0;
    for (char c : digits)
        n = n * 10 + (c - '0');
    return n;
}

// A time "mm:ss:ff" as sectors, 75 to the second.
std::optional<int> Time(std::string_view s)
{
    const std::size_t first = s.find(':');
    const std::size_t second = first == std::string_view::npos ? first : s.find(':', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    const std::string_view mm = s.substr(0, first), ss = s.substr(first + 1, second - first - 1), ff = s.substr(second + 1);
    if (!IsDigits(mm, 1, 3) || !IsDigits(ss, 2, 2) || !IsDigits(ff, 2, 2)) return std::nullopt;
    if (Number(ss) >= 60 || Number(ff) >= 75) return std::nullopt;
    return (Number(mm) * 60 + Number(ss)) * 75 + Number(ff);
}

std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while ((at = line.find_first_not_of(Blanks, at)) != std::string_view::npos) {
        const std::size_t end = std::min(line.find_first_of(Blanks, at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

bool IsOneOf(std::string_view word, std::initializer_list<std::string_view> choices)
{
    return std::find(choices.begin(), choices.end(), word) != choices.end();
}

// FILE "name" TYPE, or FILE name TYPE: the name, or nothing when the line has another shape.
std::optional<std::string_view> FileName(std::string_view line)
{
    std::string_view rest = line.substr(line.find("FILE") + 4);
    rest.remove_prefix(std::min(rest.find_first_not_of(Blanks), rest.size()));
    std::string_view name;
    if (rest.starts_with('"')) {
        const std::size_t close = rest.find('"', 1);
        if (close == std::string_view::npos) return std::nullopt;
        name = rest.substr(1, close - 1);
        // libcdio ends the name at a tab or carriage return too.
        if (name.find_first_of("\t\r") != std::string_view::npos) return std::nullopt;
        rest.remove_prefix(close + 1);
        if (!rest.empty() && Blanks.find(rest.front()) == std::string_view::npos) return std::nullopt;
    } else {
        const std::vector<std::string_view> words = Words(rest);
        if (words.empty()) return std::nullopt;
        name = words.front();
        rest.remove_prefix(name.data() + name.size() - rest.data());
    }
    if (name.empty() || Words(rest).size() != 1) return std::nullopt; // the file's type, alone
    return name;
}

} // namespace

bool CueSheet::FitsData(qint64 dataBytes) const
{
    const qint64 sectors = dataBytes / SectorBytes;
    return std::all_of(trackStarts.begin(), trackStarts.end(), [sectors](int start) { return start < sectors; });
}

std::optional<CueSheet> ReadCueSheet(QByteArrayView text)
{
    const std::string_view all(text.data(), static_cast<std::size_t>(text.size()));
    if (all.find('\0') != std::string_view::npos) return std::nullopt;

    CueSheet sheet;
    bool haveFile = false;
    bool inTrack = false;
    bool haveStart = false; // the current track's INDEX 01
    std::size_t at = 0;
    while (at < all.size()) {
        const std::size_t end = std::min(all.find('\n', at), all.size());
        const std::string_view line = all.substr(at, end - at);
        at = end + 1;
        if (line.size() > MaxLineBytes) return std::nullopt;
        const std::vector<std::string_view> w = Words(line);
        if (w.empty()) continue;
        const std::string_view key = w[0];

        if (key == "REM") continue;
        if (key == "TITLE" || key == "PERFORMER" || key == "SONGWRITER" || key == "COMPOSER" || key == "ARRANGER"
            || key == "MESSAGE" || key == "GENRE" || key == "DISC_ID" || key == "UPC_EAN") {
            if (w.size() < 2) return std::nullopt;
            continue;
        }
        if (key == "CATALOG") {
            if (inTrack || w.size() != 2 || !IsDigits(w[1], 13, 13)) return std::nullopt;
            continue;
        }
        if (key == "FILE") {
            const auto name = FileName(line);
            if (haveFile || inTrack || !name) return std::nullopt;
            sheet.dataFile = QString::fromUtf8(name->data(), static_cast<qsizetype>(name->size()));
            haveFile = true;
            continue;
        }
        if (key == "TRACK") {
            if (!haveFile || (inTrack && !haveStart) || w.size() != 3 || !IsDigits(w[1], 1, 2)) return std::nullopt;
            const int number = Number(w[1]);
            if (number != static_cast<int>(sheet.trackStarts.size()) + 1 || number > MaxTracks) return std::nullopt;
            if (!IsOneOf(w[2], {"AUDIO", "MODE1/2048", "MODE1/2352", "MODE2/2048", "MODE2/2324", "MODE2/2336", "MODE2/2352"}))
                return std::nullopt;
            sheet.trackStarts.push_back(-1);
            inTrack = true;
            haveStart = false;
            continue;
        }
        // The rest belong to a track.
        if (!inTrack) return std::nullopt;
        if (key == "FLAGS") {
            if (!std::all_of(w.begin() + 1, w.end(), [](std::string_view f) { return IsOneOf(f, {"PRE", "DCP", "4CH", "SCMS"}); }))
                return std::nullopt;
        } else if (key == "ISRC") {
            if (w.size() != 2) return std::nullopt;
        } else if (key == "PREGAP") {
            if (w.size() != 2 || !Time(w[1])) return std::nullopt;
        } else if (key == "INDEX") {
            if (w.size() != 3 || !IsDigits(w[1], 1, 2)) return std::nullopt;
            const auto time = Time(w[2]);
            if (!time) return std::nullopt;
            if (Number(w[1]) == 1) {
                const std::size_t track = sheet.trackStarts.size();
                if (haveStart || (track > 1 && *time <= sheet.trackStarts[track - 2])) return std::nullopt;
                sheet.trackStarts.back() = *time;
                haveStart = true;
            }
        } else {
            return std::nullopt; // a word libcdio does not know, or reads from another file
        }
    }
    if (!inTrack || !haveStart) return std::nullopt;
    return sheet;
}

} // namespace mci
