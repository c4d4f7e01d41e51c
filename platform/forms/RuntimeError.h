#pragma once

#include <QString>
#include <exception>
#include <string>

namespace forms {

// A run-time error as the windows raise and report it: a number, the source that raised it and
// a description. Handlers that end at the first error let it travel to their caller.
class RuntimeError : public std::exception {
public:
    RuntimeError(int number, QString source, QString description);

    int Number() const { return number_; }
    const QString& Source() const { return source_; }
    const QString& Description() const { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int number_;
    QString source_;
    QString description_;
    std::string what_;
};

// The numbers the program raises itself.
namespace Err {
constexpr int InvalidProcedureCall = 5;
constexpr int Overflow = 6;
constexpr int SubscriptOutOfRange = 9;
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
constexpr int InvalidPropertyValue = 380;
constexpr int InvalidPropertyArrayIndex = 381;
constexpr int CannotSizeMinimizedOrMaximized = 384;
constexpr int SetNotPermitted = 387;
constexpr int PropertyNotFound = 422;
constexpr int CancelSelected = 32755;
} // namespace Err

// Raise one of the common errors with the platform's own description.
[[noreturn]] void Raise(int number, const QString& source = QStringLiteral("tessel"));

// Runs the statements of a handler that ignores errors: each step that fails is skipped and the
// next one runs. The last error is kept, for the few handlers that look at it afterwards.
//
//     IgnoreErrors run;
//     run([&] { scrVolume->Move(0, 0, scrVolume->Width(), h); });
//     run([&] { ... });
class IgnoreErrors {
public:
    template <class Step> bool operator()(Step&& step) noexcept
    {
        try {
            step();
            return true;
        } catch (const RuntimeError& e) {
            last_ = e.Number();
        } catch (const std::exception&) {
            last_ = -1;
        }
        return false;
    }

    // Number of the last error that was skipped, 0 when every step ran.
    int LastError() const { return last_; }

private:
    int last_ = 0;
};

} // namespace forms
