#pragma once

#include "base/CFileException.h"
#include "base/CString.h"

#include <cstdint>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

// Why something was not done. Left alone: the input is not one the program may change, and
// nothing failed (a macro where a number should be, no version resource). Out of range: a number
// does not fit where it would go. Failed: a file, a lock or the system did not do what was asked.
// The reason is a short English phrase for a line of a build log; a failed file call also keeps
// the platform's error code and its cause.
struct Failure {
    enum class Kind : std::uint8_t { leftAlone, outOfRange, failed };

    static Failure LeftAlone(CString reason) { return {Kind::leftAlone, std::move(reason)}; }
    static Failure OutOfRange(CString reason) { return {Kind::outOfRange, std::move(reason)}; }
    static Failure Failed(CString reason) { return {Kind::failed, std::move(reason)}; }
    static Failure Of(const CFileException& error) { return Of(error.m_cause, error.m_lOsError); }
    // A call of the platform that failed with that error (GetLastError, errno).
    static Failure OfOsError(long osError) {
        return Of(CFileException::OsErrorToCause(osError), osError);
    }
    static Failure Of(CFileException::Cause cause, long osError) {
        return {Kind::failed, CFileException::Describe(cause), cause, osError};
    }

    // The same failure told with more after it.
    Failure Suffixed(const CString& more) const {
        Failure longer = *this;
        longer.reason = reason + more;
        return longer;
    }

    // The same failure as the reason of a larger step ("cannot read the script: " + reason).
    Failure Prefixed(const CString& step) const {
        Failure larger = *this;
        larger.reason = step + reason;
        return larger;
    }

    Kind kind = Kind::failed;
    CString reason;
    CFileException::Cause cause = CFileException::none;
    long osError = 0;
};

// A value, or the Failure that kept it from being made (or, where a step knows more of how it
// is told, an error of another type).
template <typename T, typename E = Failure> class [[nodiscard]] Expected {
public:
    Expected(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Expected(E failure) : m_state(std::in_place_index<1>, std::move(failure)) {}

    explicit operator bool() const { return m_state.index() == 0; }
    T& operator*() { return std::get<0>(m_state); }
    const T& operator*() const { return std::get<0>(m_state); }
    T* operator->() { return &std::get<0>(m_state); }
    const T* operator->() const { return &std::get<0>(m_state); }
    const E& Error() const { return std::get<1>(m_state); }

    // The next step's result on the value, or this failure: next takes a const T& and gives an
    // Expected of its own.
    template <typename Next> auto AndThen(Next next) const -> std::invoke_result_t<Next, const T&> {
        if (!*this)
            return Error();
        return next(**this);
    }

private:
    std::variant<T, E> m_state;
};

template <typename E> class [[nodiscard]] Expected<void, E> {
public:
    Expected() = default;
    Expected(E failure) : m_failure(std::move(failure)) {}

    explicit operator bool() const { return !m_failure; }
    const E& Error() const { return *m_failure; }

private:
    std::optional<E> m_failure;
};

// Runs a call of the file layer, whose failures are CFileExceptions, and gives its result. Every
// file call outside the file layer goes through here: it is the one place where the exceptions
// become results.
template <typename Call> auto FileCall(Call&& call) -> Expected<std::invoke_result_t<Call&>> {
    try {
        if constexpr (std::is_void_v<std::invoke_result_t<Call&>>) {
            call();
            return {};
        } else {
            return call();
        }
    } catch (const CFileException& error) {
        return Failure::Of(error);
    }
}
