#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace mci {

// One word of a command string; a quoted word keeps its blanks and loses its quotes.
struct Token {
    std::string text;
    bool quoted = false;
};

// A command string split into its parts:
//     verb device [arguments...] [wait] [notify]
// The verb is kept in small letters. The device is an alias, a device type, "all", or, for "open",
// a file name (quoted when it holds blanks). "wait" and "notify" may stand anywhere among the
// arguments and are taken out of them.
struct Command {
    std::string verb;
    std::string device;
    std::vector<Token> arguments;
    bool wait = false;
    bool notify = false;
};

// Splits text into a Command. Returns 0, or the error code of what is wrong with the text:
// nothing at all, an unknown verb, no device name, an unclosed quote, text glued to a quote.
unsigned Parse(std::string_view text, Command& command);

// True when a and b are equal, ignoring letter case (ASCII).
bool SameWord(std::string_view a, std::string_view b);
std::string Lower(std::string_view text);

// Walks the arguments of a command, word by word. Keywords match without regard to case.
class Arguments {
public:
    explicit Arguments(const std::vector<Token>& tokens)
        : tokens_(tokens)
    {
    }

    bool AtEnd() const { return next_ >= tokens_.size(); }

    // Takes the next words when they spell the phrase; otherwise takes nothing.
    bool Take(std::initializer_list<std::string_view> phrase);
    bool Take(std::string_view word) { return Take({word}); }

    // Takes the next word as a whole number: 0, or MissingParameter when there is no word left,
    // BadInteger when the word is not a number within [low, high] (by default, 32 bits).
    unsigned TakeInteger(std::int64_t& value, std::int64_t low = INT32_MIN, std::int64_t high = INT32_MAX);

    // Takes the next word, whatever it is: 0, or MissingStringArgument when none is left.
    unsigned TakeString(std::string& value);

    // 0 when every word was taken, else UnrecognizedKeyword.
    unsigned Finish() const;

private:
    const std::vector<Token>& tokens_;
    std::size_t next_ = 0;
};

} // namespace mci
