#include "platform/mci/Command.h"

#include "platform/mci/Errors.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace mci {

namespace {

// The verbs of the command-string interface. A verb outside this list is unknown to every
// device; a verb inside it may still be refused by the device it is sent to.
constexpr std::array knownVerbs = {"break", "capability", "capture", "close", "configure", "copy", "cue", "cut",
    "delete", "escape", "freeze", "info", "list", "load", "monitor", "open", "paste", "pause", "play", "put", "quality",
    "realize", "record", "reserve", "restore", "resume", "save", "seek", "set", "setaudio", "settimecode", "settuner",
    "setvideo", "signal", "spin", "status", "step", "stop", "sysinfo", "undo", "unfreeze", "update", "where", "window"};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

unsigned Split(std::string_view text, std::vector<Token>& tokens)
{
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsBlank(text[i])) {
            ++i;
            continue;
        }
        Token token;
        if (text[i] == '"') {
            const std::size_t close = text.find('"', i + 1);
            if (close == std::string_view::npos) return Err::NoClosingQuote;
            token.text = std::string(text.substr(i + 1, close - i - 1));
            token.quoted = true;
            i = close + 1;
            if (i < text.size() && !IsBlank(text[i])) return Err::ExtraCharacters;
        } else {
            const std::size_t start = i;
            while (i < text.size() && !IsBlank(text[i]))
                ++i;
            token.text = std::string(text.substr(start, i - start));
        }
        tokens.push_back(std::move(token));
    }
    return 0;
}

} // namespace

bool SameWord(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return (x >= 'A' && x <= 'Z' ? x + 32 : x) == (y >= 'A' && y <= 'Z' ? y + 32 : y);
    });
}

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

unsigned Parse(std::string_view text, Command& command)
{
    command = {};
    std::vector<Token> tokens;
    if (const unsigned error = Split(text, tokens)) return error;
    if (tokens.empty()) return Err::MissingCommandString;
    if (tokens[0].quoted) return Err::UnrecognizedCommand;

    command.verb = Lower(tokens[0].text);
    if (std::find(knownVerbs.begin(), knownVerbs.end(), command.verb) == knownVerbs.end())
        return Err::UnrecognizedCommand;
    if (tokens.size() < 2) return Err::MissingDeviceName;
    command.device = tokens[1].text;

    for (std::size_t i = 2; i < tokens.size(); ++i) {
        if (!tokens[i].quoted && SameWord(tokens[i].text, "wait"))
            command.wait = true;
        else if (!tokens[i].quoted && SameWord(tokens[i].text, "notify"))
            command.notify = true;
        else
            command.arguments.push_back(std::move(tokens[i]));
    }
    return 0;
}

bool Arguments::Take(std::initializer_list<std::string_view> phrase)
{
    if (next_ + phrase.size() > tokens_.size()) return false;
    std::size_t i = next_;
    for (std::string_view word : phrase) {
        if (tokens_[i].quoted || !SameWord(tokens_[i].text, word)) return false;
        ++i;
    }
    next_ = i;
    return true;
}

unsigned Arguments::TakeInteger(std::int64_t& value, std::int64_t low, std::int64_t high)
{
    if (AtEnd()) return Err::MissingParameter;
    const std::string& text = tokens_[next_].text;
    std::int64_t parsed = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') ++first;
    const auto [end, ec] = std::from_chars(first, last, parsed);
    if (first == last || ec != std::errc() || end != last || parsed < low || parsed > high) return Err::BadInteger;
    value = parsed;
    ++next_;
    return 0;
}

unsigned Arguments::TakeString(std::string& value)
{
    if (AtEnd()) return Err::MissingStringArgument;
    value = tokens_[next_++].text;
    return 0;
}

unsigned Arguments::Finish() const { return AtEnd() ? 0 : Err::UnrecognizedKeyword; }

} // namespace mci
